#!/usr/bin/env bash
# The road of one message through both windows and the real clipboard, driven as a person would.
source "$(dirname "$0")/desktop.sh"
start_desktop
start_program
road_of_one_message
echo "1 passed, 0 failed"
