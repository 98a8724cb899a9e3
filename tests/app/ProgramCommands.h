// The commands that the program's resources offer the user, read from the resources themselves: the tests that
// walk every command then take in a new one without being told.
#pragma once

#include "platform/mfc/afxstr.h"

#include <vector>

// The command ids of a menu and of its submenus, in the menu's order.
std::vector<UINT> MenuCommands(HMENU hMenu);
// The command ids of a toolbar resource (type 241), separators left out.
std::vector<UINT> ToolbarCommands(UINT nIDResource);
// A command's name: the tooltip part of its prompt string.
CString CommandName(UINT nID);
