"""Counting checks and reporting the failed ones, for the checks of the module file, the help and the release."""

failures, counted = [], [0]


def check(case, expected, found):
    counted[0] += 1
    if expected != found:
        failures.append(f"FAIL {case}: expected {expected!r}, found {found!r}")


def report(name):
    """Prints every failure and the totals; the exit status."""
    for line in failures:
        print(line)
    print(f"{name}: {counted[0] - len(failures)} passed, {len(failures)} failed")
    return 1 if failures else 0
