# The platform routines that only some actions need (automation objects, the
# accessibility server, the save dialog, the shell's folders), bound on their first
# call rather than when the process starts.
#
# A call to a platform routine goes through a pointer named
# __imp__<name>@<argument bytes>, which the import library would define and the
# loader fill at start, loading the routine's library with the program. Here each
# such pointer is defined instead, first aimed at a small routine that binds the
# real one (lw_bind_late_import, late_imports_win.cpp), stores it in the pointer
# and jumps to it with the caller's stack untouched. The libraries below are
# then not in the program's import table, and a start that needs none of them
# never loads them. The build links none of their import libraries, so a routine
# missing from this list is a link error, not a silent import.
#
# Each entry: the pointer's address, the library's name, the routine's name.

    .macro LATE_IMPORT library, name, bytes
    .data
    .p2align 2
    .globl __imp__\name\()@\bytes
__imp__\name\()@\bytes:
    .long 1f
    .section .rdata
    .p2align 2
2:  .long __imp__\name\()@\bytes
    .long lw_late_library_\library
    .long 3f
3:  .asciz "\name"
    .text
    .p2align 2
1:  pushl $2b
    jmp lw_late_bind_and_jump
    .endm

    .section .rdata
lw_late_library_ole32:    .asciz "ole32.dll"
lw_late_library_oleaut32: .asciz "oleaut32.dll"
lw_late_library_oleacc:   .asciz "oleacc.dll"
lw_late_library_shell32:  .asciz "shell32.dll"
lw_late_library_comdlg32: .asciz "comdlg32.dll"

# The entry lies on the stack above the caller's return address: the binder takes
# it as its argument, and once it is dropped the stack is as the caller left it.
    .text
    .p2align 4
lw_late_bind_and_jump:
    call _lw_bind_late_import
    addl $4, %esp
    jmp *%eax

    LATE_IMPORT ole32, CLSIDFromProgID, 8
    LATE_IMPORT ole32, CLSIDFromString, 8
    LATE_IMPORT ole32, CoCreateInstance, 20
    LATE_IMPORT ole32, OleInitialize, 4
    LATE_IMPORT ole32, OleRun, 4
    LATE_IMPORT ole32, OleUninitialize, 0

    LATE_IMPORT oleaut32, LHashValOfNameSys, 12
    LATE_IMPORT oleaut32, LoadTypeLib, 8
    LATE_IMPORT oleaut32, RegisterTypeLib, 12
    LATE_IMPORT oleaut32, SafeArrayAccessData, 8
    LATE_IMPORT oleaut32, SafeArrayCreateVector, 12
    LATE_IMPORT oleaut32, SafeArrayDestroy, 4
    LATE_IMPORT oleaut32, SafeArrayGetDim, 4
    LATE_IMPORT oleaut32, SafeArrayGetElement, 12
    LATE_IMPORT oleaut32, SafeArrayGetElemsize, 4
    LATE_IMPORT oleaut32, SafeArrayGetLBound, 12
    LATE_IMPORT oleaut32, SafeArrayGetUBound, 12
    LATE_IMPORT oleaut32, SafeArrayPutElement, 12
    LATE_IMPORT oleaut32, SafeArrayUnaccessData, 4
    LATE_IMPORT oleaut32, SysAllocStringLen, 8
    LATE_IMPORT oleaut32, SysStringLen, 4
    LATE_IMPORT oleaut32, VariantChangeType, 16
    LATE_IMPORT oleaut32, VariantClear, 4
    LATE_IMPORT oleaut32, VariantCopy, 8
    LATE_IMPORT oleaut32, VariantCopyInd, 8
    LATE_IMPORT oleaut32, VariantInit, 4

    LATE_IMPORT oleacc, CreateStdAccessibleObject, 16
    LATE_IMPORT oleacc, LresultFromObject, 12

    LATE_IMPORT shell32, SHGetFolderPathW, 20
    LATE_IMPORT shell32, ShellExecuteW, 24

    LATE_IMPORT comdlg32, GetSaveFileNameW, 4
