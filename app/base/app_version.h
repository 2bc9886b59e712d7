// The program's version, 1.24: shown on the splash and written to the log.
#pragma once

constexpr int app_version_major = 1;
constexpr int app_version_minor = 24;
