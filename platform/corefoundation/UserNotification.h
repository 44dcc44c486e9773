#pragma once

namespace platform {

// Stand-in for a modal alert. With no window system it prints the header
// and message to standard error and answers with the default button (1).
// type 0: one button; 1: adds "Cancel"; 3: "Yes", "No", "Cancel"; 4: "Yes", "No".
int DisplayAlert(const char* header, const char* message, int type);

}  // namespace platform
