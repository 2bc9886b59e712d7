# Portable modules hold no Windows code except one platform file each.
# Under wineg++ every file is compiled as a Windows file: _WIN32 is defined and
# __cdecl/__stdcall become the Microsoft calling convention, so Linux library
# headers that switch on _WIN32 (libpng, OpenJPEG) would declare their functions
# with the wrong convention. Portable sources are therefore compiled with those
# macros removed and with a 4-byte wchar_t, exactly as natively; only the
# platform files (named *_win.cpp) keep the Windows environment.
set(TILORA_NATIVE_ENV_FLAGS
  -U_WIN32 -U__WIN32 -U__WIN32__ -UWIN32 -U_WIN64 -U__WIN64 -U__WIN64__ -UWIN64
  -U__WINNT -U__WINNT__ -U__WINE__ -UWINE_UNICODE_NATIVE
  -U__stdcall -U__cdecl -U__fastcall -U_stdcall -U_cdecl -U_fastcall
  -U__int8 -U__int16 -U__int32 -U__int64 -fno-short-wchar)

# tilora_portable_library(NAME SOURCES...) builds a static library of portable
# sources. Files ending in _win.cpp are the Windows platform files and are used
# only in the Windows API build; files ending in _posix.cpp only natively.
function(tilora_portable_library name)
  set(srcs)
  foreach(src IN LISTS ARGN)
    if(src MATCHES "_win\\.cpp$")
      if(TILORA_WINELIB OR WIN32)
        list(APPEND srcs ${src})
      endif()
    elseif(src MATCHES "_posix\\.cpp$")
      if(NOT TILORA_WINELIB AND NOT WIN32)
        list(APPEND srcs ${src})
      endif()
    else()
      list(APPEND srcs ${src})
      if(TILORA_WINELIB)
        set_source_files_properties(${src} PROPERTIES COMPILE_OPTIONS "${TILORA_NATIVE_ENV_FLAGS}")
      endif()
    endif()
  endforeach()
  add_library(${name} STATIC ${srcs})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# The codec libraries' imported targets name /usr/include. wineg++ searches
# it anyway but does not report it as a system folder, and naming it with
# -isystem would put it ahead of the C++ library's own headers.
if(TILORA_WINELIB)
  foreach(lang C CXX)
    list(APPEND CMAKE_${lang}_IMPLICIT_INCLUDE_DIRECTORIES /usr/include /usr/include/${CMAKE_LIBRARY_ARCHITECTURE})
  endforeach()
endif()
