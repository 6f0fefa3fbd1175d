// Pulls the generated picture blob and the application icon into the
// read-only data of the program with the assembler, which is far quicker to
// build than a C array of the same bytes. ND_SKIN_BLOB and ND_APP_ICON are
// their absolute paths, set by the build.
__asm__(
    ".section .rodata\n"
    ".global nd_skin_blob\n"
    ".global nd_skin_blob_end\n"
    ".balign 16\n"
    "nd_skin_blob:\n"
    ".incbin \"" ND_SKIN_BLOB
    "\"\n"
    "nd_skin_blob_end:\n"
    ".byte 0\n"
    ".global nd_app_icon\n"
    ".global nd_app_icon_end\n"
    ".balign 16\n"
    "nd_app_icon:\n"
    ".incbin \"" ND_APP_ICON
    "\"\n"
    "nd_app_icon_end:\n"
    ".byte 0\n"
    ".previous\n");
