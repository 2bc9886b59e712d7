# Toolchain for the Windows API build with Wine's winelib (Debian package wine64-tools).
# Programs are linked by wineg++ into NAME.exe.so plus a NAME.exe launcher, and run with wine.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_C_COMPILER winegcc)
set(CMAKE_CXX_COMPILER wineg++)
set(CMAKE_EXECUTABLE_SUFFIX ".exe")
set(TILORA_WINELIB ON CACHE BOOL "Windows API build with winelib" FORCE)
# wineg++ does not report Debian's multiarch library folder, where
# find_package looks for the codec libraries the image library links.
execute_process(COMMAND gcc -print-multiarch OUTPUT_VARIABLE CMAKE_LIBRARY_ARCHITECTURE
                OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
