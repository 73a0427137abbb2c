#pragma once
// The sweeps of tests/data/cable-sweeps, written by make_sweeps.py with its own line model:
// S11 in RI against 50 ohms, one point a line, and the line's own figures in CABLE-truth.csv.

#include <algorithm>
#include <complex>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace ferrolux::testing {

inline constexpr double kSweepReference = 50;

struct SweepData {
  std::vector<double> mhz;
  std::vector<std::complex<double>> z;
  std::vector<double> magnitude;  // |S11|
  std::vector<int> lines;
};

struct TruthPoint {
  double mhz, z0Re, z0Im, loss, vf;  // loss in dB per 100 ft
};

inline std::string SweepPath(const std::string& name) { return std::string(FERROLUX_SWEEP_DIR) + "/" + name; }

// Any sweep of that form, by its path.
inline SweepData ReadSweepDataAt(const std::string& path) {
  std::ifstream in(path);
  SweepData sweep;
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    ++number;
    if (line.empty() || line[0] == '!' || line[0] == '#') continue;
    double mhz = 0, re = 0, im = 0;
    std::istringstream(line) >> mhz >> re >> im;
    const std::complex<double> s(re, im);
    sweep.mhz.push_back(mhz);
    sweep.z.push_back(kSweepReference * (1.0 + s) / (1.0 - s));
    sweep.magnitude.push_back(std::abs(s));
    sweep.lines.push_back(number);
  }
  return sweep;
}

inline SweepData ReadSweepData(const std::string& name) { return ReadSweepDataAt(SweepPath(name)); }

inline std::vector<TruthPoint> ReadTruth(const std::string& cable) {
  std::ifstream in(SweepPath(cable + "-truth.csv"));
  std::string line;
  std::getline(in, line);  // the header
  std::vector<TruthPoint> truth;
  for (TruthPoint t{}; std::getline(in, line);) {
    std::replace(line.begin(), line.end(), ',', ' ');
    std::istringstream(line) >> t.mhz >> t.z0Re >> t.z0Im >> t.loss >> t.vf;
    truth.push_back(t);
  }
  return truth;
}

}  // namespace ferrolux::testing
