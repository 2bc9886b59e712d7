// The one instance of the shell state.
#include "app/shell.h"

shell_state g_shell;
