#include "model/loss_fit.hpp"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <optional>
#include <utility>

#include "model/loss.hpp"

namespace ferrolux::fit {

namespace {

constexpr int kTerms = 3;
constexpr unsigned kEveryTerm = (1u << kTerms) - 1;
// A column left this short after the others are taken out of it adds nothing they cannot
// give: the support is singular, and a smaller one holds the same fit.
constexpr double kDependent = 1e-12;
// Fits whose sums of squares differ by this share, or by less than a relative error of 1e-10
// per point, are equally good.
constexpr double kSameFitShare = 1e-9;
constexpr double kSameFitPerPoint = 1e-20;

using Column = std::vector<double>;

double Term(int term, double mhz) {
  if (term == 0) return 1;
  return term == 1 ? std::sqrt(mhz) : mhz;
}

double Dot(const Column& a, const Column& b) { return std::inner_product(a.begin(), a.end(), b.begin(), 0.0); }

void SubtractMultiple(Column& from, double factor, const Column& column) {
  for (size_t i = 0; i < from.size(); ++i) from[i] -= factor * column[i];
}

struct Candidate {
  Coefficients k;
  double squares = 0;
  int terms = 0;
};

// Each weighted term of the support as a column: term(f) / loss, so that fitting the columns
// to 1 at every point fits the relative error.
std::vector<Column> SupportColumns(const std::vector<LossPoint>& points, unsigned support) {
  std::vector<Column> columns;
  for (int term = 0; term < kTerms; ++term) {
    if ((support & (1u << term)) == 0) continue;
    Column column;
    column.reserve(points.size());
    for (const LossPoint& p : points) column.push_back(Term(term, p.mhz) / p.loss);
    columns.push_back(std::move(column));
  }
  return columns;
}

// Least squares of the columns against 1 by modified Gram-Schmidt; nothing when they are
// linearly dependent.
std::optional<std::vector<double>> SolveAgainstOne(std::vector<Column> columns) {
  const size_t n = columns.size();
  std::vector<std::vector<double>> r(n, std::vector<double>(n, 0));
  std::vector<double> projection(n);
  Column rest(columns.front().size(), 1.0);
  for (size_t j = 0; j < n; ++j) {
    const double length = std::sqrt(Dot(columns[j], columns[j]));
    for (size_t i = 0; i < j; ++i) {
      r[i][j] = Dot(columns[i], columns[j]);
      SubtractMultiple(columns[j], r[i][j], columns[i]);
    }
    r[j][j] = std::sqrt(Dot(columns[j], columns[j]));
    if (!(r[j][j] > kDependent * length)) return std::nullopt;
    for (double& value : columns[j]) value /= r[j][j];
    projection[j] = Dot(columns[j], rest);
    SubtractMultiple(rest, projection[j], columns[j]);
  }
  std::vector<double> x(n);
  for (size_t j = n; j-- > 0;) {
    double sum = projection[j];
    for (size_t i = j + 1; i < n; ++i) sum -= r[j][i] * x[i];
    x[j] = sum / r[j][j];
  }
  return x;
}

double SquaredRelativeErrors(const Coefficients& k, const std::vector<LossPoint>& points) {
  double sum = 0;
  for (const LossPoint& p : points) sum += std::pow(LossAt(k, p.mhz) / p.loss - 1, 2);
  return sum;
}

Coefficients FromSupport(unsigned support, const std::vector<double>& x) {
  double k[kTerms] = {};
  size_t next = 0;
  for (int term = 0; term < kTerms; ++term)
    if (support & (1u << term)) k[term] = x[next++];
  return {k[0], k[1], k[2]};
}

std::optional<Candidate> FitSupport(const std::vector<LossPoint>& points, unsigned support) {
  const auto x = SolveAgainstOne(SupportColumns(points, support));
  if (!x || std::any_of(x->begin(), x->end(), [](double v) { return !(v >= 0) || !std::isfinite(v); }))
    return std::nullopt;
  const Coefficients k = FromSupport(support, *x);
  const double squares = SquaredRelativeErrors(k, points);
  if (!std::isfinite(squares)) return std::nullopt;
  return Candidate{k, squares, static_cast<int>(x->size())};
}

}  // namespace

// The program's own polynomial, so a fit is judged by the loss the calculator will show.
double LossAt(const Coefficients& k, double mhz) { return static_cast<double>(CablePolynomial(k.k0, k.k1, k.k2, mhz)); }

Coefficients FitCoefficients(const std::vector<LossPoint>& points) {
  std::vector<Candidate> candidates;
  for (unsigned support = 1; !points.empty() && support <= kEveryTerm; ++support)
    if (auto c = FitSupport(points, support)) candidates.push_back(*c);
  if (candidates.empty()) return {};  // numbers too extreme for any finite fit
  const double best = std::min_element(candidates.begin(), candidates.end(), [](auto& a, auto& b) {
                        return a.squares < b.squares;
                      })->squares;
  const double sameFit = std::max(best * kSameFitShare, kSameFitPerPoint * static_cast<double>(points.size()));
  const Candidate* chosen = nullptr;
  for (const Candidate& c : candidates) {
    if (c.squares > best + sameFit) continue;
    if (!chosen || c.terms < chosen->terms || (c.terms == chosen->terms && c.squares < chosen->squares)) chosen = &c;
  }
  return chosen->k;
}

FitError MeasureFit(const Coefficients& k, const std::vector<LossPoint>& points) {
  FitError error;
  for (const LossPoint& p : points) {
    const double absolute = std::fabs(LossAt(k, p.mhz) - p.loss);
    if (absolute / p.loss > error.worstRelative) error.worstRelative = absolute / p.loss, error.atRelative = p;
    if (absolute > error.worstAbsolute) error.worstAbsolute = absolute, error.atAbsolute = p;
  }
  return error;
}

}  // namespace ferrolux::fit
