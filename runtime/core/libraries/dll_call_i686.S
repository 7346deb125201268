# Calls a stdcall routine with arguments copied from an array of words and tells
# whether the routine removed exactly those words from the stack.
#
#   uint64_t lw_call_stdcall(void* entry, int argc, const uint32_t* args, int* stackOk)
#
# cdecl; the routine's 32- or 64-bit result is left in edx:eax. A scratch pad lies
# between the saved registers and the arguments, so a routine that takes more
# words than it was given reads and writes the pad instead of our saved state.
    .text
    .globl _lw_call_stdcall
    .def _lw_call_stdcall; .scl 2; .type 32; .endef
_lw_call_stdcall:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    pushl %ebx
    subl $256, %esp          # pad
    movl 12(%ebp), %ecx      # argc
    movl 16(%ebp), %esi      # args
    movl %esp, %edi          # where esp must be again after the call
1:  testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:  call *8(%ebp)
    movl 20(%ebp), %ecx
    movl $1, (%ecx)
    cmpl %esp, %edi
    je 3f
    movl $0, (%ecx)
3:  leal -12(%ebp), %esp
    popl %ebx
    popl %edi
    popl %esi
    popl %ebp
    ret
