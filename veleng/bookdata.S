/* The opening book image, copied into the library when it is built. VELENG_BOOK_FILE names
   the committed book file; without one the image is empty and the engine searches. */
    .section .rodata
    .balign 8
    .globl velengBookBegin
    .hidden velengBookBegin
velengBookBegin:
#ifdef VELENG_BOOK_FILE
    .incbin VELENG_BOOK_FILE
#endif
    .globl velengBookEnd
    .hidden velengBookEnd
velengBookEnd:
    .section .note.GNU-stack,"",@progbits
