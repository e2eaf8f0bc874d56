; The tone player, at its own address.
.include "defs.inc"
.org PLAY
        OUT 1, C
        LDI D, 0
        RET
