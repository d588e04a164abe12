#pragma once
// Tells Opera that the product's plug-in handles the VRML content types, in
// the program folder's defaults file and in the user's profile file.

namespace custom_actions {

// appDir: the product's installation folder, not empty. Writes the entries
// into the defaults file of a machine-wide Opera and into the user's existing
// profile file; nothing when neither is there or the value does not fit.
void ConfigureOpera(const wchar_t* appDir);

}  // namespace custom_actions
