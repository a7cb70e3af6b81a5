# Reads the #include lines of every file of the core (and of testing/) and fails on
# each include that breaks the layering: the core knows no GUI toolkit, no front end,
# no emulator and no test double; only shell/ knows the form; the catalogue and the
# reply recogniser know nothing of the project but protocol/ and ui/.
# Usage: cmake -DSOURCE_DIR=<project root> -P include_rules.cmake
cmake_minimum_required(VERSION 3.25)
set(core_dirs ui files serial protocol map live safekeeping shell)
# Folders that sit above the core and that the core must never include.
set(above_core testing gui win32gui sim app bench tests)

set(rule_toolkit "the core never includes Qt or windows.h (windows.h only in serial/win32_port.cpp)")
set(rule_shell "nothing in the core outside shell/ includes shell/")
set(rule_pure "protocol/'s catalogue and reply recogniser include nothing of the project but protocol/ and ui/")
set(rule_above "the core never includes testing/, and neither it nor testing/ includes the front ends (gui/, win32gui/, app/), sim/, bench/ or tests/")

set(checked_dirs ${core_dirs})
if(IS_DIRECTORY ${SOURCE_DIR}/testing)
  list(APPEND checked_dirs testing)
endif()

set(files "")
foreach(dir IN LISTS checked_dirs)
  file(GLOB_RECURSE dir_files RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/${dir}/*.h
       ${SOURCE_DIR}/${dir}/*.cpp)
  list(APPEND files ${dir_files})
endforeach()
list(SORT files)
if(NOT files)
  message(FATAL_ERROR "no core files found under ${SOURCE_DIR}")
endif()

set(violations "")
foreach(file IN LISTS files)
  string(REGEX MATCH "^[^/]+" layer "${file}")
  file(STRINGS ${SOURCE_DIR}/${file} include_lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS include_lines)
    string(REGEX MATCH "[<\"]([^>\"]+)[>\"]" _ "${line}")
    set(included "${CMAKE_MATCH_1}")
    string(TOLOWER "${included}" included_lower)
    set(top "")
    if(included MATCHES "^([^/]+)/")
      set(top "${CMAKE_MATCH_1}")
    endif()
    # An include of the project names one of its top-level folders.
    set(project_include FALSE)
    if(top AND IS_DIRECTORY ${SOURCE_DIR}/${top})
      set(project_include TRUE)
    endif()

    set(broken "")
    if(included MATCHES "^Q[A-Za-z]" OR included MATCHES "^Qt[A-Za-z]*/")
      set(broken "${rule_toolkit}")
    elseif(included_lower MATCHES "^win[a-z0-9]*\\.h$" AND NOT file STREQUAL "serial/win32_port.cpp")
      set(broken "${rule_toolkit}")
    elseif(top IN_LIST above_core AND NOT (layer STREQUAL "testing" AND top STREQUAL "testing"))
      set(broken "${rule_above}")
    elseif(top STREQUAL "shell" AND layer IN_LIST core_dirs AND NOT layer STREQUAL "shell")
      set(broken "${rule_shell}")
    elseif(file MATCHES "^protocol/(catalogue|reply_recogniser)\\.(h|cpp)$" AND project_include
           AND NOT top MATCHES "^(protocol|ui)$")
      set(broken "${rule_pure}")
    endif()
    if(broken)
      string(APPEND violations "  ${file}: #include ${included}: ${broken}\n")
    endif()
  endforeach()
endforeach()

list(LENGTH files checked)
if(violations)
  message(FATAL_ERROR "Includes that break the layering:\n${violations}")
endif()
message(STATUS "${checked} files of ${checked_dirs} keep the include rules")
