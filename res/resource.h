#pragma once
// Resource identifiers shared by kelvory.rc and the code that loads them.

// The main icon has the lowest identifier, so the shell shows it for the file.
#define IDI_APPLICATION_MAIN 1

// The pictures of the four fixed buttons, stored with the main window's layout.
#define IDI_COMMAND_PROMPT 101
#define IDI_TASK_MANAGER 102
#define IDI_SHUT_DOWN 103
#define IDI_RESTART 104

