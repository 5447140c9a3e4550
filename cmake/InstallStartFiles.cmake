# Run at install time, when the prefix is known: writes the files that start
# the program by its installed path, the desktop entry (its Exec) and the
# D-Bus service of the desktop search. A path of plain characters is written
# as it is; any other (a blank, a quote) is double-quoted, with \ " $ `
# escaped, as both formats read a command line. The desktop entry then
# escapes its own \ and %.
# Needs TELQUEST_PACKAGING, TELQUEST_BINDIR and TELQUEST_DATADIR (set before
# this script by cmake/Install.cmake).
set(program "${CMAKE_INSTALL_PREFIX}/${TELQUEST_BINDIR}/telquest")
set(command "${program}")
if(NOT program MATCHES "^[-A-Za-z0-9_./+,:@=]+$")
  string(REPLACE "\\" "\\\\" command "${command}")
  string(REPLACE "\"" "\\\"" command "${command}")
  string(REPLACE "$" "\\$" command "${command}")
  string(REPLACE "`" "\\`" command "${command}")
  set(command "\"${command}\"")
endif()
set(entry_command "${command}")
string(REPLACE "\\" "\\\\" entry_command "${entry_command}")
string(REPLACE "%" "%%" entry_command "${entry_command}")

set(share "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${TELQUEST_DATADIR}")
file(READ "${TELQUEST_PACKAGING}/telquest.desktop" entry)
string(REPLACE "@TELQUEST_COMMAND@" "${entry_command}" entry "${entry}")
file(WRITE "${share}/applications/telquest.desktop" "${entry}")
file(READ "${TELQUEST_PACKAGING}/io.github.telquest.Telquest.SearchProvider.service" service)
string(REPLACE "@TELQUEST_COMMAND@" "${command}" service "${service}")
file(WRITE "${share}/dbus-1/services/io.github.telquest.Telquest.SearchProvider.service" "${service}")
