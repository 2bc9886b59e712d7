// Opening a picture the user chooses or drops.
#pragma once

struct tilora_app;

// The Open command: the Open dialog, then open_picture_file with the choice.
void open_picture_command(tilora_app& app);

// Loads the file (its extension must be a picture format's) and makes it the
// working picture; tells the user when it cannot be loaded.
void open_picture_file(tilora_app& app, const char* path);
