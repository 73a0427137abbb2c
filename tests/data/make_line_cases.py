#!/usr/bin/python3
"""Writes the line model's cross-check cases and test sweeps with scikit-rf (python3-scikit-rf).

Per metre, series R0 + Rs (1 + j) + j w Linf and shunt G + j w C:
  R0 = s 2 Zn k0 / K, Rs = s 2 Zn k1 sqrt f / K, G = s 2 k2 f / (K Zn), K = 20 log10(e) * 30.48,
  Linf = Zn / (VF c), C = 1 / (Zn VF c),
with the one scale s (found here by scipy's brentq) that makes 8.686 Re(gamma) 30.48 the catalog's
k0 + k1 sqrt f + k2 f. scikit-rf's DistributedCircuit medium turns them into Z0 and gamma, its
zl_2_zin carries a load to the line's input, and the line's ABCD matrix (cosh, Z0 sinh, sinh / Z0,
cosh) gives the power fed in for the power the load takes.
internal_impedance.tsv holds an independent check of the skin reactance: Z0 and the velocity factor
of a copper coax of RG-58 size worked out with the exact internal impedance of a round wire and of
a thick outer conductor (Bessel and Hankel functions), beside the catalog numbers of that line.
Run from this folder: ./make_line_cases.py
"""
import numpy as np
from scipy.optimize import brentq
from scipy.special import hankel2, jv
import skrf
from skrf.media import DistributedCircuit
from skrf.tlineFunctions import zl_2_zin

C0 = 299792458.0
K = 20 * np.log10(np.e) * 30.48
FT = 0.3048

# name, Zn, VF, k0, k1, k2: the first three as the shipped catalog has them, the last a 75 ohm line
CABLES = [
    ("Belden 8259", 50, 0.66, 0, 0.425585, 0.00964155),
    ("Belden 9913", 50, 0.84, 0.122504, 0.120581, 0.000155225),
    ("Belden 8216", 50, 0.66, 1.33367, 0.554943, 0.0152789),
    ("75 ohm", 75, 0.66, 0, 0.3, 0.0055),
]
# cable index, MHz, length in ft, load R, load X
CASES = [
    (0, 1.0, 100, 50, 0), (0, 1.8, 100, 35, -20), (0, 3.6, 250, 12.5, -3.2), (1, 14.2, 80, 100, 100),
    (1, 146, 50, 200, -150), (2, 28.5, 33, 5, 80), (2, 440, 20, 75, 0), (3, 7.1, 120, 50, 25),
]


def rlgc(cable, mhz):
    _, zn, vf, k0, k1, k2 = cable
    w, l, c = 2 * np.pi * mhz * 1e6, zn / (vf * C0), 1 / (zn * vf * C0)
    r0, rs, g = 2 * zn * k0 / K, 2 * zn * k1 * np.sqrt(mhz) / K, 2 * k2 * mhz / (K * zn)
    target = (k0 + k1 * np.sqrt(mhz) + k2 * mhz) / K

    def attenuation(s):
        return np.sqrt((s * (r0 + rs) + 1j * (w * l + s * rs)) * (s * g + 1j * w * c)).real

    s = brentq(lambda s: attenuation(s) - target, 0, 1e6, xtol=1e-300, rtol=1e-15) if target > 0 else 0
    return s * (r0 + rs), l + s * rs / w, s * g, c


def medium(cable, mhz_points):
    f = np.atleast_1d(mhz_points)
    freq = skrf.Frequency.from_f(f, unit="mhz")
    r, l, g, c = np.array([rlgc(cable, mhz) for mhz in f]).T
    return DistributedCircuit(freq, C=c, L=l, R=r, G=g, z0=cable[1]), freq


def write_cases():
    with open("line_cases.tsv", "w") as out:
        out.write("# Zn VF k0 k1 k2 MHz length_ft load_R load_X | Z0_re Z0_im Zin_re Zin_im total_loss_db\n")
        for index, mhz, feet, rl, xl in CASES:
            cable = CABLES[index]
            m, freq = medium(cable, mhz)
            z0, gl = complex(m.Z0[0]), complex(m.gamma[0]) * feet * FT
            zl = complex(rl, xl)
            zin = complex(zl_2_zin(z0, zl, gl)[0])
            vin = zl * np.cosh(gl) + z0 * np.sinh(gl)  # with 1 A into the load
            iin = np.cosh(gl) + zl / z0 * np.sinh(gl)
            loss = 10 * np.log10((vin * np.conj(iin)).real / zl.real)
            out.write("\t".join(["%g"] * 9 + ["%.10g"] * 5) % (cable[1], cable[2], cable[3], cable[4], cable[5], mhz, feet,
                      rl, xl, z0.real, z0.imag, zin.real, zin.imag, loss) + "\n")


def write_sweep(name, cable, feet, load_of_mhz, mhz_points, ref=50):
    m, freq = medium(cable, mhz_points)
    zl = load_of_mhz(freq.f / 1e6)
    zin = zl_2_zin(m.Z0, zl, m.gamma * feet * FT)
    shack = skrf.Network(frequency=freq, s=((zin - ref) / (zin + ref)).reshape(-1, 1, 1), z0=ref, name=name)
    shack.write_touchstone(name)
    return zl


def series_rlc(mhz):
    # a dipole-like load: 36 ohms of radiation resistance, resonant at 7.1 MHz
    w = 2 * np.pi * mhz * 1e6
    l, c = 12e-6, 1 / ((2 * np.pi * 7.1e6) ** 2 * 12e-6)
    return 36 + 1j * (w * l - 1 / (w * c))


def write_internal_impedance():
    mu0, sigma, er = 4e-7 * np.pi, 5.8e7, 2.25  # copper, solid polyethylene
    a, b = 0.45e-3, 1.475e-3  # inner conductor's radius, outer conductor's inner radius
    zn, vf = 60 / np.sqrt(er) * np.log(b / a), 1 / np.sqrt(er)
    l_ext, c = mu0 / (2 * np.pi) * np.log(b / a), 2 * np.pi * er * 8.8541878128e-12 / np.log(b / a)
    # the catalog's k1: the matched loss of the skin resistance's high-frequency limit at 1 MHz
    skin_1mhz = 1 / (2 * np.pi * sigma * np.sqrt(1 / (np.pi * 1e6 * mu0 * sigma))) * (1 / a + 1 / b)
    k1 = K * skin_1mhz / (2 * zn)
    with open("internal_impedance.tsv", "w") as out:
        out.write("# Zn VF k1 MHz | Z0_re Z0_im VF\n")
        for mhz in [0.1, 0.3, 1, 3, 10, 30, 100]:
            w = 2 * np.pi * mhz * 1e6
            k = (1 - 1j) * np.sqrt(np.pi * mhz * 1e6 * mu0 * sigma)
            inner = k / (2 * np.pi * a * sigma) * jv(0, k * a) / jv(1, k * a)
            outer = -k / (2 * np.pi * b * sigma) * hankel2(0, k * b) / hankel2(1, k * b)
            z, y = inner + outer + 1j * w * l_ext, 1j * w * c
            z0, gamma = np.sqrt(z / y), np.sqrt(z * y)
            out.write("%.10g\t%.10g\t%.10g\t%g\t%.10g\t%.10g\t%.10g\n" % (zn, vf, k1, mhz, z0.real, z0.imag,
                                                                    w / gamma.imag / C0))


if __name__ == "__main__":
    write_cases()
    write_internal_impedance()
    write_sweep("rg58a_100ft_rlc", CABLES[0], 100, series_rlc, np.linspace(6.5, 7.7, 25))
    write_sweep("rg8_9913_75ft_35j20", CABLES[1], 75, lambda f: np.full(f.shape, 35 - 20j, dtype=complex),
                np.linspace(1.8, 30, 11))
