#!/usr/bin/env bash
# Prints the architecture whose build runs under Wine here: i686 when 32-bit Windows
# programs can run (WOW64), else x86_64.
source "$(dirname "$0")/wine-env.sh"
if [ "$WINE" = wine ]; then echo i686; else echo x86_64; fi
