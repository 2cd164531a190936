#!/bin/sh
# Runs the tests of the FIR importer and the data tool helpers.
set -eu
cd "$(dirname "$0")"
exec node --test test/
