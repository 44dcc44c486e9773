#pragma once

#include <string>

namespace platform {

// Whether the file is an ELF object of this machine's byte order whose
// header, program header table, section header table and loadable
// segments all lie inside it: what the dynamic loader maps without
// checking, so a cut or damaged object would fault inside it rather than
// fail. A file that is missing, empty, not a regular file (never waited
// on) or not ELF answers false.
bool IsWholeElfObject(const std::string& path);

}  // namespace platform
