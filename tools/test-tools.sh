#!/bin/sh
# Runs the tests of the helpers that the data tools share.
set -eu
cd "$(dirname "$0")"
exec node --test test/
