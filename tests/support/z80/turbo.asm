; SPDX-License-Identifier: GPL-3.0-or-later
; A tape loader of our own that calls nothing in the ROM and samples the
; EAR bit with a loop unlike the ROM's. It reads one turbo block: a pilot
; of 1,100 T-state pulses, a short sync pair, then bits of two pulses each
; (400 T-states for 0, 800 for 1), most significant first. The block holds
; 0xff, the start address and the length of the code (little-endian), the
; code, and a checksum that makes the XOR of all its bytes zero. Once
; loaded, the code runs at its start. On a failure the border goes red and
; the loader resets the machine, as many do.

        org 25000

start:  di
        in a, (0xfe)
        and 0x40
        ld c, a                 ; the level last seen
pilot:  ld h, 0                 ; pilot pulses in a row
pulse:  ld b, 0
        call edge
        jr nc, pilot            ; silence: wait on
        ld a, b
        cp 16
        jr c, pilot
        cp 34
        jr nc, pilot
        inc h
        jr nz, pulse
sync:   ld b, 0                 ; pilot until a short pulse
        call edge
        jr nc, pilot
        ld a, b
        cp 12
        jr nc, sync
        call edge               ; the second sync pulse
        jr nc, pilot

        ld h, 0                 ; the checksum
        ld ix, header
        ld de, 5
        call bytes
        jr nc, failed
        ld a, (header)
        cp 0xff
        jr nz, failed
        ld ix, (header + 1)
        ld de, (header + 3)
        call bytes
        jr nc, failed
        call byte               ; the checksum byte
        jr nc, failed
        ld a, h
        xor l
        jr nz, failed
        ld hl, (header + 1)
        jp (hl)

failed: ld a, 2
        out (0xfe), a
        rst 0

; DE bytes to (IX), each XORed into H; carry clear on a time-out.
bytes:  call byte
        ret nc
        ld (ix + 0), l
        ld a, h
        xor l
        ld h, a
        inc ix
        dec de
        ld a, d
        or e
        jr nz, bytes
        scf
        ret

; Eight bits into L: each two edges, long for a 1.
byte:   ld l, 1                 ; the marker that says when eight are in
bit:    ld b, 0
        call edge
        ret nc
        call edge
        ret nc
        ld a, b
        ; 0s count about 15 passes and 1s 33, less the time spent between
        ; bits (longest before the code, after the header is checked).
        cp 24                   ; carry: short, a 0
        ccf
        rl l
        jr nc, bit
        scf
        ret

; Waits for the EAR level to change, counting 45 T-state passes in B;
; carry clear when B wraps first.
edge:   inc b
        jr z, timeout
        in a, (0xfe)
        xor c
        and 0x40
        jr z, edge
        ld a, c
        xor 0x40
        ld c, a
        scf
        ret
timeout:
        and a
        ret

header: ds 5
