# Writes the man page of the tavo command from its own help: the overview
# through help2man, every command's --help as a section of its own.
# cmake -DTAVO=build/tavo -DHELP2MAN=help2man -DOUT=tavo.1 -P tavo_manual.cmake
execute_process(COMMAND "${TAVO}" --help OUTPUT_VARIABLE overview RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "${TAVO} --help failed")
endif()
string(REPLACE "\n" ";" lines "${overview}")
set(commands "")
foreach(line IN LISTS lines)
  if(line MATCHES "^  ([a-z]+) ")
    list(APPEND commands ${CMAKE_MATCH_1})
  endif()
endforeach()

set(include "[COMMANDS]\n")
foreach(command IN LISTS commands)
  execute_process(COMMAND "${TAVO}" help ${command} OUTPUT_VARIABLE help RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "${TAVO} help ${command} failed")
  endif()
  # Text for roff: backslashes escaped, no line taken for a request.
  string(REPLACE "\\" "\\e" help "${help}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
  string(APPEND include ".SS tavo ${command}\n.nf\n${help}.fi\n")
endforeach()
string(APPEND include "[ENVIRONMENT]\n.TP\n.B TAVO_SETTINGS_DIR\n"
  "The settings folder (tavo.ini); else $XDG_CONFIG_HOME/tavo, else ~/.config/tavo.\n"
  ".TP\n.B DISPLAY, WAYLAND_DISPLAY\nThe display of the preview window, the settings dialog and the clipboard.\n")
file(WRITE "${OUT}.include" "${include}")

execute_process(
  COMMAND "${CMAKE_COMMAND}" -E env LC_ALL=C.UTF-8
          "${HELP2MAN}" --no-info --locale=C.UTF-8 --section=1 "--name=draw spreadsheets as JW_CAD drawings and read .jwc files"
          "--include=${OUT}.include" "--output=${OUT}" "${TAVO}"
  RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "help2man failed")
endif()
