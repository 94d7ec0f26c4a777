#!/bin/sh
# check_model_code.sh OBJDUMP LIBRARY
# The model's machine code must take square roots with the SSE2 instruction
# (correctly rounded), and hold no fused multiply-add and no x87 arithmetic.
set -u
objdump=$1
lib=$2
code=$("$objdump" -d --no-show-raw-insn "$lib") || { echo "cannot disassemble $lib"; exit 1; }
sqrt=$(printf '%s\n' "$code" | grep -c -E '\s(v)?sqrtsd\s')
fused=$(printf '%s\n' "$code" | grep -E '\sv?f(n)?m(add|sub)[0-9]*[a-z]*\s')
x87=$(printf '%s\n' "$code" | grep -E '\s(fld|fstp|fsqrt|fmul|fadd|fsub|fdiv|fsin|fcos)[a-z]*\s')
status=0
if [ "$sqrt" -eq 0 ]; then echo "FAIL: no sqrtsd in $lib"; status=1; fi
if [ -n "$fused" ]; then echo "FAIL: fused multiply-add in $lib:"; echo "$fused"; status=1; fi
if [ -n "$x87" ]; then echo "FAIL: x87 arithmetic in $lib:"; echo "$x87"; status=1; fi
[ $status -eq 0 ] && echo "model code: $sqrt sqrtsd, no fused multiply-add, no x87"
exit $status
