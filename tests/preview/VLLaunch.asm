; A stand-in for the launcher: a flat DOS program (DOS runs a file without the "MZ" mark as a .COM
; program whatever its extension) that ends with the exit code written in decimal in VLCODE.TXT in
; the current folder, or 0 when there is no such file.
        org 100h
        mov dx, name
        mov ax, 3D00h           ; open for reading
        int 21h
        jc done
        mov bx, ax
        mov ah, 3Fh             ; read up to three digits
        mov cx, 3
        mov dx, text
        int 21h
        jc done
        mov cx, ax
        mov si, text
next:   jcxz done
        lodsb
        sub al, '0'
        cmp al, 9
        ja done                 ; the digits end at the first other byte
        mov bl, al
        mov al, 10
        mul byte [code]
        add al, bl
        mov [code], al
        dec cx
        jmp next
done:   mov al, [code]
        mov ah, 4Ch             ; end with that code
        int 21h
name:   db "VLCODE.TXT", 0
code:   db 0
text:   times 3 db 0
