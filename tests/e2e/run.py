"""Runs one end-to-end scenario of vorn-scpi-control under its own X server.

    dbus-run-session -- python3 run.py SCENARIO --app PATH --sim PATH --gpib-dir DIR --out DIR
    dbus-run-session -- python3 run.py control_room --app PATH-OF-vorn-control-room --sim PATH
        --bridge PATH-OF-vorn-module-bridge --broker PATH-OF-mosquitto --out DIR

Screenshots (<scenario>_<step>.png) and the panel's output (<scenario>.log) go to --out. The
exit code is 0 when every check held, 1 when one failed. A scenario still running after --limit
seconds fails where it is (a program that stopped answering the accessibility bus makes every
call wait), so that it ends its processes itself before ctest's TIMEOUT kills it.
"""

import argparse
import os
import shutil
import signal
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
    parser.add_argument("--limit", type=int, default=140, help="seconds (below ctest's TIMEOUT)")
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

    def overtime(signum, frame):
        signal.alarm(0)
        here = os.path.dirname(os.path.abspath(__file__))
        where = "".join(traceback.format_list([f for f in traceback.extract_stack(frame)
                                               if f.filename.startswith(here)][-4:]))
        raise Failure(f"still running after {args.limit} s, at\n{where}")

    signal.signal(signal.SIGALRM, overtime)
    signal.alarm(args.limit)
    try:
        SCENARIOS[args.scenario](session)
        print(f"{args.scenario}: passed")
        return 0
    except Failure as failure:
        session.screenshot("failed")
        print(f"{args.scenario}: FAILED: {failure}", flush=True)
    except Exception:
        session.screenshot("failed")
        traceback.print_exc()
    finally:
        signal.alarm(0)
        session.close()
        log = os.path.join(args.out, f"{args.scenario}.log")
        if os.path.exists(log):
            print(f"panel output: {log}")
    return 1


if __name__ == "__main__":
    sys.exit(main())
