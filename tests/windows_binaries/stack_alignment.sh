#!/usr/bin/env bash
# Finds code in a 32-bit Windows binary that needs a stack aligned to 16 bytes. 32-bit Windows
# promises 4: a Java VM, a driver or Windows itself may call a native method, a window procedure, a
# thread's start or DS_Entry with a stack aligned to 4 bytes only. An SSE instruction whose memory
# operand must be 16-byte aligned then faults on a local variable or a spilled register.
#
#   stack_alignment.sh <objdump> <binary>
#
# Each function that uses such an instruction on the stack (%esp or %ebp) must align its stack
# itself (an `and` of %esp with -16 or less), as GCC makes every function that needs it do with
# -mincoming-stack-boundary=2 or -mstackrealign. Fails with one line per function that does not;
# the binary must keep its symbols (the build tree's file, not the stripped one).
set -euo pipefail
objdump=$1 binary=$2

format=$("$objdump" -f "$binary" | sed -n 's/.*file format //p')
if [[ $format != pei-i386 ]]; then
  echo "$binary is not a 32-bit x86 PE image (format $format)"
  exit 1
fi

"$objdump" -d --no-show-raw-insn "$binary" | awk -v binary="$binary" '
  # Legacy SSE instructions whose memory operand is 128 bits, except those that take it unaligned,
  # and the scalar ones, whose memory operand is 32 or 64 bits.
  function needsAlignment(mnemonic) {
    if (mnemonic ~ /^(fxsave|fxrstor|movntdqa)$/) return 1
    if (mnemonic ~ /^v/) return mnemonic ~ /^vmov(aps|apd|dqa|dqa32|dqa64|ntps|ntpd|ntdq|ntdqa)$/
    if (mnemonic ~ /^(movups|movupd|movdqu|lddqu|movddup)$/) return 0
    if (mnemonic ~ /^(movlps|movhps|movlpd|movhpd|movq|movd)$/) return 0
    if (mnemonic ~ /^(cvtps2pd|cvtdq2pd|cvtpi2ps|cvtpi2pd|cvtps2pi|cvttps2pi)$/) return 0
    if (mnemonic ~ /^(insertps|extractps)$/) return 0
    if (mnemonic ~ /^(pinsr|pextr|pmovsx|pmovzx)/) return 0
    if (mnemonic ~ /(ss|sd)$/) return 0
    return 1
  }
  function finish() {
    if (function_name != "" && first_use != "" && !realigned) {
      printf "%s needs a 16-byte aligned stack: %s\n", function_name, first_use
      found++
    }
    first_use = ""
    realigned = 0
  }
  /^[0-9a-f]+ <.*>:$/ {
    finish()
    function_name = $2
    gsub(/[<>:]/, "", function_name)
    next
  }
  /^ *[0-9a-f]+:\t/ {
    split($0, field, "\t")
    instruction = field[2]
    mnemonic = instruction
    sub(/ .*/, "", mnemonic)
    if (mnemonic == "and" && instruction ~ /\$0xf+[0-9a-f]*0,%esp$/) {
      realigned = 1
    }
    stack_operand = instruction ~ /\((%esp|%ebp)[,)]/
    if (stack_operand && (instruction ~ /%xmm/ || mnemonic ~ /^fx/) && needsAlignment(mnemonic)) {
      if (first_use == "") first_use = instruction
    }
  }
  END {
    finish()
    if (found) {
      printf "%d functions of %s rely on a stack aligned to 16 bytes\n", found, binary
      exit 1
    }
    printf "No code of %s needs more than a 4-byte aligned stack\n", binary
  }'
