#!/bin/sh
# Stands in for the web browser under Wine: records the address it was asked
# to open and fetches nothing.
printf '%s\n' "$*" >> "${WINEPREFIX:-/tmp}/browser.log"
