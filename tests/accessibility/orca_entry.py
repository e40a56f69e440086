#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Starts the real Orca from its own launcher, with two differences for a test: the process
keeps its name, and Orca does not refuse to start when another Orca runs on the machine
(Orca's launcher looks for any process named orca, and renames itself so). Its debug file is
written line by line, so that the test can follow what it speaks.

  orca_entry.py ORCA_ARGUMENTS...
"""
import builtins
import importlib.machinery
import importlib.util
import sys

sys.argv[0] = "orca-under-test"
loader = importlib.machinery.SourceFileLoader("orca_launcher", "/usr/bin/orca")
launcher = importlib.util.module_from_spec(importlib.util.spec_from_loader("orca_launcher", loader))
loader.exec_module(launcher)
launcher.setProcessName = lambda name: False
launcher.otherOrcas = lambda: []
launcher.open = lambda file, mode="r", *args, **kwargs: builtins.open(
    file, mode, *args, buffering=1, **kwargs)
if any(argument in ("-r", "--replace") for argument in sys.argv[1:]):
    sys.exit("orca_entry.py: --replace would end every other Orca of this user")
sys.exit(launcher.main())
