#!/usr/bin/python3
"""Writes the distance-to-fault test sweeps with scikit-rf (python3-scikit-rf), and scikit-rf's own
time-domain reading of each as a second opinion (tdr/second_opinion.tsv).

Every sweep is a one-port seen from the shack end, 50 ohm reference, velocity factor 0.66:
  rg58_open_10m      10 m of RG-58 (Belden 8259's loss) open at the far end, low-pass grid
  step_50_75_5m      5 m of lossless 50 ohm line into 75 ohm (a matched 75 ohm line, as its input sees it)
  rg58_short_7m      7 m of RG-58 shorted
  two_faults         4 m of 50 ohm line, a 25 ohm series resistor, 8 m more into 25 ohm
  bandpass_open_10m  the first line again, swept 100 to 500 MHz (no harmonic grid)
The low-pass grids are f_k = k * 1 MHz, k = 1 .. 400: a range of c VF / (2 MHz) = 98.9 m.
The RG-58 line has per metre R = 2 Zn a_c(f), G = 2 a_d(f) / Zn, L = Zn / (VF c), C = 1 / (Zn VF c),
with a_c + a_d the catalog's k1 sqrt(f) + k2 f dB per 100 ft turned into nepers per metre.

The second opinion: scikit-rf extrapolates each low-pass sweep to DC (extrapolate_to_dc) and takes
its impulse and step responses with no window; the band-pass sweep its impulse response as is,
whose envelope (scipy's hilbert) is the size.
Only positive times are searched; the impulse heights are scaled back from irfft's 1/n.
Columns: case, distance_m of the largest reflection, its reflection (signed; band-pass |.|), and
the step level 3 m past it (low-pass only; else 0).
Run from this folder: ./make_tdr_cases.py
"""
import numpy as np

np.complex = complex  # scikit-rf 0.15 still names this alias, which numpy 1.24 removed
import skrf  # noqa: E402
from scipy.signal import hilbert  # noqa: E402
from skrf.media import DistributedCircuit

C0 = 299792458.0
VF = 0.66
K = 20 * np.log10(np.e) * 30.48  # dB per 100 ft to nepers per metre
K1, K2 = 0.425585, 0.00964155  # Belden 8259, dB per 100 ft at f in MHz


def line(freq, zn, lossy):
    mhz = freq.f / 1e6
    a_c = K1 * np.sqrt(mhz) / K if lossy else 0 * mhz
    a_d = K2 * mhz / K if lossy else 0 * mhz
    return DistributedCircuit(freq, z0=50, L=zn / (VF * C0), C=1 / (zn * VF * C0), R=2 * zn * a_c, G=2 * a_d / zn)


def harmonic():
    return skrf.Frequency(1, 400, 400, 'mhz')


def cases():
    f = harmonic()
    rg58, lossless50 = line(f, 50, True), line(f, 50, False)
    yield 'rg58_open_10m', rg58.line(10, 'm', z0=50) ** rg58.open()
    # A 75 ohm line ended in 75 ohm reads 75 ohm at its input at every frequency.
    yield 'step_50_75_5m', lossless50.line(5, 'm', z0=50) ** lossless50.load(0.2)
    yield 'rg58_short_7m', rg58.line(7, 'm', z0=50) ** rg58.short()
    r25 = lossless50.resistor(25)
    yield 'two_faults', lossless50.line(4, 'm', z0=50) ** r25 ** lossless50.line(8, 'm', z0=50) ** lossless50.load(-1 / 3)
    band = skrf.Frequency(100, 500, 401, 'mhz')
    yield 'bandpass_open_10m', line(band, 50, True).line(10, 'm', z0=50) ** line(band, 50, True).open()


def write(name, ntwk):
    with open(f'tdr/{name}.s1p', 'w') as out:
        out.write(f'! {name}: written by make_tdr_cases.py with scikit-rf {skrf.__version__}\n# MHz S RI R 50\n')
        for f, s in zip(ntwk.f, ntwk.s[:, 0, 0]):
            out.write(f'{f / 1e6:.6g} {s.real:.9f} {s.imag:.9f}\n')


def second_opinion(name, ntwk):
    bandpass = name.startswith('bandpass')
    n = 8192
    if bandpass:
        t, y = ntwk.impulse_response(window=None, n=n, bandpass=True)
        y = np.abs(hilbert(y)) * n / (2 * len(ntwk))  # the envelope; irfft doubles an unmirrored band
        s = np.zeros(n)
    else:
        dc = ntwk.extrapolate_to_dc(kind='cubic')
        t, y = dc.impulse_response(window=None, n=n)
        _, s = dc.step_response(window=None, n=n)
        y = y * n / (2 * len(dc) - 1)  # the step, a running sum, is in units of reflection already
    metres = t * C0 * VF / 2
    positive = np.flatnonzero(metres > 0.5)
    k = positive[np.argmax(np.abs(y[positive]))]
    past = np.searchsorted(metres, metres[k] + 3)
    return metres[k], y[k], s[past]


def main():
    rows = []
    for name, ntwk in cases():
        write(name, ntwk)
        rows.append((name,) + tuple(second_opinion(name, ntwk)))
    with open('tdr/second_opinion.tsv', 'w') as out:
        out.write('case\tdistance_m\treflection\tstep_after\n')
        for name, d, r, s in rows:
            out.write(f'{name}\t{d:.4f}\t{r:.4f}\t{s:.4f}\n')


if __name__ == '__main__':
    main()
