"""Runs one end-to-end scenario of vorn-scpi-control under its own X server.

    dbus-run-session -- python3 run.py SCENARIO --app PATH --sim PATH --gpib-dir DIR --out DIR

Screenshots (<scenario>_<step>.png) and the panel's output (<scenario>.log) go to --out. The
exit code is 0 when every check held, 1 when one failed.
"""

import argparse
import os
import shutil
import sys
import traceback

from harness import Failure, Session
from scenarios import SCENARIOS

TOOLS = ("Xvfb", "xdotool", "import", "dbus-daemon")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    parser.add_argument("--app", required=True)
    parser.add_argument("--sim", required=True)
    parser.add_argument("--gpib-dir", default="")
    parser.add_argument("--out", required=True)
    args = parser.parse_args()

    missing = [t for t in TOOLS if not shutil.which(t)]
    if missing:
        print(f"missing tools: {' '.join(missing)} (scripts/deps.sh installs them)")
        return 1
    os.makedirs(args.out, exist_ok=True)
    session = Session(args.scenario, args.app, args.sim, args.out, args.gpib_dir)
    try:
        SCENARIOS[args.scenario](session)
        print(f"{args.scenario}: passed")
        return 0
    except Failure as failure:
        session.screenshot("failed")
        print(f"{args.scenario}: FAILED: {failure}")
    except Exception:
        session.screenshot("failed")
        traceback.print_exc()
    finally:
        session.close()
        log = os.path.join(args.out, f"{args.scenario}.log")
        if os.path.exists(log):
            print(f"panel output: {log}")
    return 1


if __name__ == "__main__":
    sys.exit(main())
