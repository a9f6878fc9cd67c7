#pragma once

#include <QString>

// The folder of the program's own executable, with a trailing '/'. The encoder (bin/ffmpeg), the
// format catalogue (command) and the default output folder (convert/) are all found through it.
QString ProgramFolder();

// Tests point the program at a folder of their own; an empty text restores the real one.
void SetProgramFolderOverride(const QString& folder);
