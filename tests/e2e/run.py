"""Runs one end-to-end scenario of vorn-scpi-control under its own X server.

    dbus-run-session -- python3 run.py SCENARIO --app PATH --sim PATH --gpib-dir DIR --out DIR
    dbus-run-session -- python3 run.py control_room --app PATH-OF-vorn-control-room --sim PATH
        --bridge PATH-OF-vorn-module-bridge --broker PATH-OF-mosquitto --out DIR

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

TOOLS = ("Xvfb", "xdotool", "import", "convert", "dbus-daemon")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("scenario", choices=sorted(SCENARIOS))
    parser.add_argument("--app", required=True)
    parser.add_argument("--sim", required=True)
    parser.add_argument("--gpib-dir", default="")
    parser.add_argument("--out", required=True)
    parser.add_argument("--bridge", default="", help="vorn-module-bridge (control room)")
    parser.add_argument("--broker", default="", help="mosquitto (control room)")
    args = parser.parse_args()

    missing = [t for t in TOOLS if not shutil.which(t)]
    if missing:
        print(f"missing tools: {' '.join(missing)} (scripts/deps.sh installs them)")
        return 1
    os.makedirs(args.out, exist_ok=True)
    if args.scenario == "control_room" and not (args.bridge and args.broker):
        print("control_room needs --bridge and --broker")
        return 1
    session = Session(args.scenario, args.app, args.sim, args.out, args.gpib_dir,
                      args.bridge, args.broker)
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
