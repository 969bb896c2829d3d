# SPDX-License-Identifier: MIT
# Copyright (c) 2026 Cuebolt developers
# Run by cmake --install: writes the "Cuebolt" desktop entry that opens the installed pane in the
# installed host. CUEBOLT_DESKTOP_ENTRY_DRAFT is where the file is put together first.

# One Exec argument: quoted, with the characters that quoting reserves escaped, then escaped once
# more as a desktop-entry string; % is the field-code character.
function(cuebolt_exec_argument out path)
  if(path MATCHES "\n")
    message(FATAL_ERROR "cannot name ${path} in a desktop entry: it holds a line break")
  endif()
  string(REPLACE "\\" "\\\\" quoted "${path}")
  string(REPLACE "\"" "\\\"" quoted "${quoted}")
  string(REPLACE "`" "\\`" quoted "${quoted}")
  string(REPLACE "$" "\\$" quoted "${quoted}")
  string(REPLACE "\\" "\\\\" quoted "${quoted}")
  string(REPLACE "%" "%%" quoted "${quoted}")
  set(${out} "\"${quoted}\"" PARENT_SCOPE)
endfunction()

set(applications "${CMAKE_INSTALL_PREFIX}/Applications")
cuebolt_exec_argument(host "${applications}/System Preferences.app/Contents/MacOS/System Preferences")
cuebolt_exec_argument(pane "${applications}/Cuebolt.prefPane")

file(WRITE "${CUEBOLT_DESKTOP_ENTRY_DRAFT}" "[Desktop Entry]
Type=Application
Name=Cuebolt
Comment=Assign MIDI System Exclusive messages to the music application's transport keys
Exec=${host} ${pane}
Terminal=false
Categories=AudioVideo;Audio;Midi;
")
file(INSTALL "${CUEBOLT_DESKTOP_ENTRY_DRAFT}" DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications")
