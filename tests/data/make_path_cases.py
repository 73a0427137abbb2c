#!/usr/bin/python3
"""Writes the feed-line path cross-check cases with scikit-rf (python3-scikit-rf).

Each cable is scikit-rf's DistributedCircuit medium of make_line_cases.py's R, L, G and C (so its
own complex Z0 and gamma), made a 50 ohm two-port from its chain matrix; each lumped loss is
scikit-rf's matched attenuator in 50 ohms. scikit-rf cascades them (the ** operator), and the
power reaching each joint comes from the cascade of the elements before it into the rest.
Cable names in the paths: A to D are make_line_cases.py's CABLES in order.
path_deembed_cases.tsv: a shack reading de-embedded through a path, the inverse of the cascade
(scikit-rf's .inv) in front of the one-port, with the total loss into what it finds.
Run from this folder: ./make_path_cases.py
"""
import numpy as np
import skrf
from skrf.media import DefinedGammaZ0

from make_line_cases import CABLES, medium

REF = 50.0
FT = 0.3048
# MHz, load R, load X, path
CASES = [
    (14.2, 50, 0, "A:100ft"),
    (146, 100, 0, "B:6ft, 0.3dB, C:100ft, 0.1dB, B:3ft"),
    (7.1, 35, -20, "D:40ft, A:60ft"),
    (28.5, 200, 150, "0.2dB, B:20m, 0.05dB, D:7.5m, A:33ft"),
    (440, 12, 30, "C:10ft, 0.5dB, C:10ft"),
    (1.8, 500, -800, "A:250ft, 1dB"),
]

# MHz, shack R, shack X, path of three elements
DEEMBED_CASES = [
    (14.2, 62, 18, "A:30ft, 0.25dB, D:20ft"),
    (146, 49, -2, "B:6ft, 0.3dB, C:100ft"),
    (3.6, 150, 40, "0.1dB, A:120ft, 0.1dB"),
    (440, 45, 5, "C:3ft, 0.2dB, B:50m"),
]


def element_network(text, freq):
    text = text.strip()
    if text.endswith("dB"):
        return DefinedGammaZ0(freq, z0=REF).attenuator(-float(text[:-2]), db=True)
    name, length = text.split(":")
    metres = float(length[:-2]) * FT if length.endswith("ft") else float(length[:-1])
    m, _ = medium(CABLES["ABCD".index(name)], freq.f / 1e6)
    z0, gl = m.Z0[0], m.gamma[0] * metres
    abcd = np.array([[[np.cosh(gl), z0 * np.sinh(gl)], [np.sinh(gl) / z0, np.cosh(gl)]]])
    return skrf.Network(frequency=freq, s=skrf.network.a2s(abcd, REF), z0=REF)


def cascade(networks):
    whole = networks[0]
    for n in networks[1:]:
        whole = whole ** n
    return whole


def input_reflection(network, gamma_load):
    s = network.s[0]
    return s[0, 0] + s[0, 1] * s[1, 0] * gamma_load / (1 - s[1, 1] * gamma_load)


def power_through(network, gamma_load):
    """Power into `gamma_load` behind `network` for a unit incident wave at its input."""
    s = network.s[0]
    b2 = s[1, 0] / (1 - s[1, 1] * gamma_load)
    return abs(b2) ** 2 * (1 - abs(gamma_load) ** 2)


def write_cases():
    with open("path_cases.tsv", "w") as out:
        out.write("# MHz load_R load_X path | Zin_re Zin_im total_loss_db joint_power_shares(comma-separated)\n")
        for mhz, rl, xl, path in CASES:
            freq = skrf.Frequency.from_f([mhz], unit="mhz")
            nets = [element_network(e, freq) for e in path.split(",")]
            gl = (complex(rl, xl) - REF) / (complex(rl, xl) + REF)
            gin = input_reflection(cascade(nets), gl)
            fed = 1 - abs(gin) ** 2
            shares = [1.0]
            for j in range(1, len(nets) + 1):
                rest = gl if j == len(nets) else input_reflection(cascade(nets[j:]), gl)
                shares.append(power_through(cascade(nets[:j]), rest) / fed)
            zin = REF * (1 + gin) / (1 - gin)
            out.write("%g\t%g\t%g\t%s\t%.10g\t%.10g\t%.10g\t%s\n" % (mhz, rl, xl, path, zin.real, zin.imag,
                      10 * np.log10(1 / shares[-1]), ",".join("%.10g" % s for s in shares)))


def write_deembed_cases():
    with open("path_deembed_cases.tsv", "w") as out:
        out.write("# MHz shack_R shack_X path | antenna_R antenna_X total_loss_db\n")
        for mhz, rs, xs, path in DEEMBED_CASES:
            freq = skrf.Frequency.from_f([mhz], unit="mhz")
            whole = cascade([element_network(e, freq) for e in path.split(",")])
            gs = (complex(rs, xs) - REF) / (complex(rs, xs) + REF)
            shack = skrf.Network(frequency=freq, s=np.array([[[gs]]]), z0=REF)
            gl = (whole.inv ** shack).s[0, 0, 0]
            gin = input_reflection(whole, gl)
            loss = 10 * np.log10((1 - abs(gin) ** 2) / power_through(whole, gl))
            zl = REF * (1 + gl) / (1 - gl)
            out.write("%g\t%g\t%g\t%s\t%.10g\t%.10g\t%.10g\n" % (mhz, rs, xs, path, zl.real, zl.imag, loss))


if __name__ == "__main__":
    write_cases()
    write_deembed_cases()
