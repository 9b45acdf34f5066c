// The files at the root of the disc beside the menu's own: the program itself and autorun.inf,
// which names the program AutoPlay opens, the drive's icon and its label.
#pragma once

#include <cstddef>

#include "Report.h"

namespace skincheck {

// menu.exe: without it there is no menu to start.
void CheckProgram(Report& report);

// autorun.inf, read as Windows reads it (UTF-16 LE with its byte-order mark, else one byte a
// character): a program to open (open= or shellexecute=) that is not in the folder is an error,
// AutoPlay would fail to start the menu; a missing or unreadable file, an icon= that names no file
// in the folder and a label= longer than the 32 characters Windows shows are warnings.
void CheckAutorun(Report& report);

// The longest drive label Windows shows.
inline constexpr std::size_t kMaxDriveLabel = 32;

}  // namespace skincheck
