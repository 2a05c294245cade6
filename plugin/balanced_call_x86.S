# uint32_t callBalanced(const void* function, const uint32_t* arguments, int count)
#
# Calls a host function on x86 with count 32-bit arguments, pushed last first,
# and gives back what it left in EAX. A C function leaves its arguments on the
# stack, a stdcall one takes them off: the stack pointer is kept in EBP, which
# both preserve, and put back from there, so the stack is as it was either way.
        .text
        .globl  _callBalanced
_callBalanced:
        pushl   %ebp
        movl    %esp, %ebp
        movl    16(%ebp), %ecx
        movl    12(%ebp), %edx
1:      testl   %ecx, %ecx
        jz      2f
        decl    %ecx
        pushl   (%edx,%ecx,4)
        jmp     1b
2:      call    *8(%ebp)
        movl    %ebp, %esp
        popl    %ebp
        ret
