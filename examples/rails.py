"""The feedback dividers of four rails from a 0.8 V reference: E96, each rail within 2 % at worst."""
import tarnel

print(f"{'rail':>6}  {'divider (k)':<24}{'output':>9}  band with 1 % parts")
for rail in (1.0, 1.8, 3.3, 5.0):
    result = tarnel.search(use="feedback", uin=rail, uout=0.8, tol=2, criterion="worst-case", series="E96",
                           order="best", max_results=1)
    best = result[0] if result else None
    print(f"{rail:>4} V  " + (f"{str(best):<24}{best.output_v:>7.3f} V  {best.output_min_v:.3f} to "
                              f"{best.output_max_v:.3f} V" if best else f"no divider: {result.why_none}"))
