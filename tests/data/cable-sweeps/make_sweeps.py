#!/usr/bin/env python3
"""Writes the open and short sweeps that the measurement tests read back.

Three cables of the shipped catalog, at their catalog figures, seen at the shack end of a run
whose far end is open in one sweep and shorted in the other, as a 50-ohm analyser reads them.
The line is computed here, independently of the program: from the nominal impedance Zn, the
velocity factor VF and the loss polynomial k0 + k1*sqrt(f) + k2*f (dB per 100 ft, f in MHz),
per metre

    R0 = s*2*Zn*k0/K,  Rs = s*2*Zn*k1*sqrt(f)/K,  G = s*2*k2*f/(K*Zn),  K = 20*log10(e)*30.48
    Z = R0 + Rs*(1 + j) + jwL,  Y = G + jwC,  L = Zn/(VF*c),  C = 1/(Zn*VF*c)
    Z0 = sqrt(Z/Y),  gamma = sqrt(ZY)

(the skin-effect resistance Rs with its equal internal reactance; the scale s, found here by
bisection, makes K*Re(gamma) the polynomial exactly)

and Zoc = Z0*coth(gamma*l), Zsc = Z0*tanh(gamma*l). Each cable gets four one-port files
(CABLE-open.s1p, CABLE-short.s1p and the same with -noisy: |S11| scaled by a factor drawn
evenly from 0.995 to 1.005, the phase kept) and CABLE-truth.csv with the line's own Z0,
matched loss and velocity factor at every frequency, which the tests hold the recovered
figures to. Needs only python3; the noise is seeded, so a rerun writes the same bytes.

    python3 tests/data/cable-sweeps/make_sweeps.py tests/data/cable-sweeps
"""

import cmath
import math
import os
import random
import sys

C = 299792458.0
K = 20 * math.log10(math.e) * 30.48  # dB per 100 ft over nepers per metre
REFERENCE = 50.0
NOISE = 0.005
POINTS = 201

# name, catalog part, Zn, VF, k0, k1, k2 (data/CableCatalog.txt), run in metres, sweep in MHz.
# Each run is short enough for the sweep to step less than a quarter wave, and long enough
# that the loss at the lowest frequency stands well above the noise.
CABLES = [
    ("rg174", "Belden 8216", 50, 0.66, 1.33367, 0.554943, 0.0152789, 15.0, 1.0, 500.0),
    ("rg213", "Belden 8267", 50, 0.66, 0.0114228, 0.156823, 0.00299448, 60.0, 1.0, 150.0),
    ("rg6", "Belden 1694A", 75, 0.82, 0.0566013, 0.194238, 0.0, 50.0, 1.0, 220.0),
]


def line(zn, vf, k0, k1, k2, mhz):
    """Z0 and gamma (per metre) of the line at `mhz`."""
    w = 2 * math.pi * mhz * 1e6
    r0, rs, g = 2 * zn * k0 / K, 2 * zn * k1 * math.sqrt(mhz) / K, 2 * k2 * mhz / (K * zn)
    l, c = zn / (vf * C), 1 / (zn * vf * C)
    target = (k0 + k1 * math.sqrt(mhz) + k2 * mhz) / K

    def constants(s):
        return complex(s * (r0 + rs), w * l + s * rs), complex(s * g, w * c)

    low, high = 0.0, 1.0
    while cmath.sqrt(constants(high)[0] * constants(high)[1]).real < target:
        low, high = high, 2 * high
    for _ in range(200):
        middle = (low + high) / 2
        if middle in (low, high):
            break
        if cmath.sqrt(constants(middle)[0] * constants(middle)[1]).real < target:
            low = middle
        else:
            high = middle
    series, shunt = constants(high)
    z0, gamma = cmath.sqrt(series / shunt), cmath.sqrt(series * shunt)
    return (z0 if z0.real > 0 else -z0), (gamma if gamma.real > 0 else -gamma)


def reflection(z):
    return (z - REFERENCE) / (z + REFERENCE)


def noisy(s, rng):
    return s * (1 + NOISE * rng.uniform(-1, 1))


def touchstone(path, comment, mhz, s11):
    with open(path, "w", newline="\n") as out:
        out.write(f"! {comment}\n# MHz S RI R {REFERENCE:g}\n")
        for f, s in zip(mhz, s11):
            out.write(f"{f:.6g} {s.real:.9f} {s.imag:.9f}\n")


def write_cable(folder, cable, rng):
    name, part, zn, vf, k0, k1, k2, metres, low, high = cable
    mhz = [low + (high - low) * i / (POINTS - 1) for i in range(POINTS)]
    opens, shorts, truth = [], [], []
    for f in mhz:
        z0, gamma = line(zn, vf, k0, k1, k2, f)
        t = cmath.tanh(gamma * metres)
        opens.append(reflection(z0 / t))
        shorts.append(reflection(z0 * t))
        velocity = 2 * math.pi * f * 1e6 / (gamma.imag * C)
        truth.append(f"{f:.6g},{z0.real:.6f},{z0.imag:.6f},{gamma.real * K:.6f},{velocity:.6f}\n")
    about = f"{part}, {metres:g} m, far end"
    base = os.path.join(folder, name)
    touchstone(base + "-open.s1p", about + " open", mhz, opens)
    touchstone(base + "-short.s1p", about + " shorted", mhz, shorts)
    touchstone(base + "-open-noisy.s1p", about + " open, 0.5 % noise on |S11|", mhz, [noisy(s, rng) for s in opens])
    touchstone(base + "-short-noisy.s1p", about + " shorted, 0.5 % noise on |S11|", mhz, [noisy(s, rng) for s in shorts])
    with open(base + "-truth.csv", "w", newline="\n") as out:
        out.write("mhz,z0_re,z0_im,matched_loss_db_per_100ft,velocity_factor\n")
        out.writelines(truth)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    rng = random.Random(27)
    for cable in CABLES:
        write_cable(folder, cable, rng)


if __name__ == "__main__":
    main()
