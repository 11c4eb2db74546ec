#!/usr/bin/env python3
# One-off: seals stub_definitions.txt with the native sqctool and writes
# stub_table.cpp with the table and a copy with one sealed byte flipped.
import subprocess, sys, os
here = os.path.dirname(os.path.abspath(__file__))
sqctool = sys.argv[1]
src = os.path.join(here, "stub_definitions.txt")
text = open(src, encoding="utf-8").read().encode("cp1250")
sealed = subprocess.run([sqctool, "seal", "-", "-"], input=text, capture_output=True, check=True).stdout
def array(name, data):
    body = len(data).to_bytes(4, "little") + data
    lines = [", ".join(str(b) for b in body[i:i + 24]) for i in range(0, len(body), 24)]
    return "const unsigned char %s[] = {\n%s};\n" % (name, ",\n".join(lines))
damaged = bytearray(sealed); damaged[20] ^= 0x01
with open(os.path.join(here, "stub_table.cpp"), "w") as f:
    f.write('#include "defs/definition_store.h"\n')
    f.write("#ifdef QUILL_STUB_DAMAGED\n" + array("SealedDefinitionTable", bytes(damaged)))
    f.write("#else\n" + array("SealedDefinitionTable", sealed) + "#endif\n")
