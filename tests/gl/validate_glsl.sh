#!/usr/bin/env bash
# Validates one shader text as GLSL 1.10: validate_glsl.sh FILE vert|frag
set -euo pipefail
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{ echo "#version 110"; cat "$1"; } > "$work/shader.$2"
glslangValidator "$work/shader.$2"
