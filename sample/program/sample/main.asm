; The sample program: counts down on the LED port, then plays a tone.
.include "defs.inc"
.embed "tone.wav"
.embed "logo.bmp"
.embed "voice.sil"
.equation Beep, "tone.wav"

        LDI A, COUNT
        LDI B, 1
loop:   SUB A, B
        OUT LED_PORT, A
        JNZ loop
        LDI C, Beep
        CALL PLAY
        LDT A, [0]
        ST [0x10], A
        HALT
spare:  NOP                     ; never used: the build's one warning

.table 0, 0x1234, 0x5678
.data 0x20, 1, 2, 3
