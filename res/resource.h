#pragma once
// Resource identifiers shared by kelvory.rc and the code that loads them.

// The main icon has the lowest identifier, so the shell shows it for the file.
#define IDI_APPLICATION_MAIN 1

// The pictures of the four fixed buttons, stored with the main window's layout.
#define IDI_COMMAND_PROMPT 101
#define IDI_TASK_MANAGER 102
#define IDI_SHUT_DOWN 103
#define IDI_RESTART 104

// Every icon with its file in res/icons, in the order kelvory.rc stores them:
// the resource script makes an icon of each, and IconImageSets.h says which
// images each file holds. ICON_FILE(identifier, file name) is applied to each.
#define KELVORY_ICON_FILES(ICON_FILE)                                                                                  \
    ICON_FILE(IDI_APPLICATION_MAIN, "application.ico")                                                                 \
    ICON_FILE(IDI_COMMAND_PROMPT, "command_prompt.ico")                                                                \
    ICON_FILE(IDI_TASK_MANAGER, "task_manager.ico")                                                                    \
    ICON_FILE(IDI_SHUT_DOWN, "shut_down.ico")                                                                          \
    ICON_FILE(IDI_RESTART, "restart.ico")
