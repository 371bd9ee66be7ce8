; SPDX-License-Identifier: GPL-3.0-or-later
; What the test tapes load and run: it sets every register to a value of
; its own, the border to cyan, and then loops without reading the tape.

        org 32768

        di
        ld a, 5
        out (0xfe), a
        ld sp, 0xff00
        ld a, 0x3f
        ld i, a
        im 2
        ld a, 0x80              ; R's bit 7, which counting never changes
        ld r, a
        ld bc, 0x1111
        ld de, 0x2222
        ld hl, 0x3333
        exx
        ld bc, 0x4444
        ld de, 0x5555
        ld hl, 0x6666
        ld a, 0x77
        ex af, af'
        ld ix, 0x8888
        ld iy, 0x9999
        ld a, 0xaa
        or a                    ; F = 0xac
loop:   jr loop
