#include "remover/engine/guarded_call.h"

// MinGW's g++ has no __try/__except, so the guard frame is written out here.
// x86_64: a table-based handler, as the Microsoft compiler emits it for
// __except(EXCEPTION_EXECUTE_HANDLER): __C_specific_handler unwinds the
// module's frames (running their clean-ups) and resumes at the recovery label.
// i686: a record on the fs:0 chain whose handler unwinds the records above it
// with RtlUnwind and resumes at the recovery label with this frame's stack.
// Neither returns into the exception dispatcher, so non-continuable exceptions
// (a C++ throw) are recovered from as well as faults.

extern "C" int meridel_CallGuarded(FARPROC entryPoint);

#if defined(__x86_64__)
asm(R"(
    .text
    .p2align 4
    .globl meridel_CallGuarded
    .def meridel_CallGuarded; .scl 2; .type 32; .endef
    .seh_proc meridel_CallGuarded
meridel_CallGuarded:
    subq $40, %rsp
    .seh_stackalloc 40
    .seh_endprologue
.Lmeridel_guard_begin:
    callq *%rcx
    nop
.Lmeridel_guard_end:
    movl $1, %eax
    addq $40, %rsp
    ret
.Lmeridel_guard_recover:
    xorl %eax, %eax
    addq $40, %rsp
    ret
    .seh_handler __C_specific_handler, @except
    .seh_handlerdata
    .long 1
    .rva .Lmeridel_guard_begin, .Lmeridel_guard_end
    .long 1
    .rva .Lmeridel_guard_recover
    .text
    .seh_endproc
)");
#elif defined(__i386__)
asm(R"(
    .text
    .p2align 4
    .globl _meridel_CallGuarded
    .def _meridel_CallGuarded; .scl 2; .type 32; .endef
_meridel_CallGuarded:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    pushl $_meridel_GuardHandler
    pushl %fs:0
    movl %esp, %fs:0
    calll *8(%ebp)
    movl $1, %eax
L_meridel_guard_leave:
    leal -20(%ebp), %esp
    movl (%esp), %ecx
    movl %ecx, %fs:0
    addl $8, %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
L_meridel_guard_recover:
    xorl %eax, %eax
    jmp L_meridel_guard_leave

    .p2align 4
_meridel_GuardHandler:
    movl 4(%esp), %eax
    testl $6, 4(%eax)
    jnz L_meridel_guard_search
    pushl $0
    pushl %eax
    pushl $L_meridel_guard_unwound
    pushl 20(%esp)
    calll _RtlUnwind@16
L_meridel_guard_unwound:
    movl 8(%esp), %esp
    leal 20(%esp), %ebp
    jmp L_meridel_guard_recover
L_meridel_guard_search:
    movl $1, %eax
    ret
)");
#else
#error "The guarded call is written for x86_64 and i686 only."
#endif

namespace remover {

bool CallGuarded(FARPROC entryPoint) { return meridel_CallGuarded(entryPoint) != 0; }

}  // namespace remover
