# Runs the built vexapal program as a user would, natively or under Wine: its version, a conversion,
# a diff of the two files and a missing input, checking exit statuses and what it prints; natively also
# conversions ended by signals, and GIMP loading what vexapal wrote.
# cmake -DVEXAPAL=<program> -DRUNNER=<wine runner, or empty> -DVERSION=<x.y> -DWORK=<folder>
#       [-DGIMP=<gimp-console> -DSWATCHES=<folder of swatch files>] -P RunVexapalProgram.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/two.gpl "GIMP Palette\nName: Two\n255 128 0 orange\n1 2 3\n")
file(WRITE ${WORK}/one.hex "ff8000\n")
file(WRITE ${WORK}/-two.gpl "GIMP Palette\n1 2 3\n")

function(expect status out err)
  execute_process(COMMAND ${RUNNER} ${VEXAPAL} ${ARGN} RESULT_VARIABLE got_status OUTPUT_VARIABLE got_out
                  ERROR_VARIABLE got_err WORKING_DIRECTORY ${WORK})
  # A Windows console program ends its lines with CR LF.
  string(REPLACE "\r" "" got_out "${got_out}")
  string(REPLACE "\r" "" got_err "${got_err}")
  if(NOT got_status STREQUAL status OR NOT got_out STREQUAL out OR NOT got_err MATCHES "${err}")
    message(FATAL_ERROR "vexapal ${ARGN}: status ${got_status} (expected ${status})\n"
                        "out: [${got_out}] (expected [${out}])\nerr: [${got_err}] (expected to match [${err}])")
  endif()
endfunction()

expect(0 "vexapal ${VERSION}\n" "^$" --version)
# A JASC palette keeps no names: the conversion says so, and exits with 0.
expect(0 "" "^vexapal: [^\n]*two.pal: jasc keeps no colour names: 1 name dropped\n$" convert ${WORK}/two.gpl ${WORK}/two.pal)
expect(0 "" "^$" diff ${WORK}/two.gpl ${WORK}/two.pal)
expect(0 "  0  255 128   0  #FF8000\n  1    1   2   3  #010203\n" "^$" show ${WORK}/two.pal)
expect(1 "  1    1   2   3  #010203  |  -\n" "^$" diff ${WORK}/two.gpl ${WORK}/one.hex)
expect(2 "" "^vexapal: [^\n]*missing.gpl: cannot read it: No such file or directory\n$" show ${WORK}/missing.gpl)
# A name with one dash is a file, not an option.
expect(0 "  0    1   2   3  #010203\n" "^$" show -two.gpl)
# Standard output that cannot be written is trouble, whatever the command.
foreach(option --help --version)
  execute_process(COMMAND ${RUNNER} ${VEXAPAL} ${option} OUTPUT_FILE /dev/full RESULT_VARIABLE got_status
                  ERROR_VARIABLE got_err)
  if(NOT got_status STREQUAL 2)
    message(FATAL_ERROR "vexapal ${option} > /dev/full: status ${got_status} (expected 2)")
  endif()
endforeach()
# Names that no ANSI code page spells whole (Cyrillic, then Japanese), in and out.
expect(0 "" "Дом.pal: jasc keeps no colour names" convert ${WORK}/two.gpl ${WORK}/Дом.pal)
expect(0 "" "^$" convert ${WORK}/Дом.pal ${WORK}/日本.hex)
expect(0 "" "^$" diff ${WORK}/two.gpl ${WORK}/日本.hex)
if(NOT EXISTS ${WORK}/Дом.pal OR NOT EXISTS ${WORK}/日本.hex)
  message(FATAL_ERROR "vexapal wrote the files under other names than Дом.pal and 日本.hex")
endif()

if(RUNNER)
  # A French system's reasons reach the console in UTF-8, as the names do.
  file(MAKE_DIRECTORY ${WORK}/folder.pal)
  set(locale "$ENV{LC_ALL}")
  set(ENV{LC_ALL} fr_FR.UTF-8)
  expect(2 "" "folder.pal: cannot write it: Accès refusé\\.\n$" convert ${WORK}/two.gpl ${WORK}/folder.pal)
  set(ENV{LC_ALL} "${locale}")
else()
  # A conversion of a large palette ended by a signal as soon as its temporary file appears: SIGTERM and
  # SIGHUP remove it; SIGKILL leaves it, and it blocks no later conversion (its name is drawn anew).
  string(REPEAT "ffffff\n" 65535 big)
  file(WRITE ${WORK}/big.hex "${big}")
  set(alive [=[read -r _ _ state _ < /proc/$pid/stat 2>/dev/null && [ "$state" != Z ]]=])
  foreach(signal TERM:143 HUP:129 KILL:137)
    string(REPLACE ":" ";" signal ${signal})
    list(GET signal 0 name)
    list(GET signal 1 status)
    # A run that ended before the signal reached it shows nothing: it is tried again.
    foreach(attempt RANGE 4)
      execute_process(
        COMMAND sh -c "\"$0\" convert big.hex big.pal --to hex & pid=$!
                       while ${alive}; do set -- big.pal.vexapal-*.tmp; [ -e \"$1\" ] && break; done
                       kill -${name} $pid; wait $pid" ${VEXAPAL}
        WORKING_DIRECTORY ${WORK} RESULT_VARIABLE got_status)
      file(GLOB left ${WORK}/big.pal.vexapal-*.tmp)
      list(LENGTH left left_count)
      if(NOT got_status STREQUAL 0 AND (left_count OR NOT name STREQUAL "KILL"))
        break()
      endif()
    endforeach()
    if(NOT got_status STREQUAL status OR NOT left_count EQUAL (name STREQUAL "KILL"))
      message(FATAL_ERROR "vexapal convert ended by SIG${name}: status ${got_status} (expected ${status}), "
                          "temporary files left: [${left}]")
    endif()
  endforeach()
  expect(0 "" "^$" convert big.hex big.pal --to hex)
  # A background job (SIGINT ignored, as a shell starts one) finishes its conversion whatever Ctrl+C sends.
  execute_process(
    COMMAND sh -c "trap '' INT; \"$0\" convert big.hex job.pal --to hex & pid=$!
                   while [ ! -e job.pal ] && ${alive}; do kill -INT $pid; done; wait $pid" ${VEXAPAL}
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE got_status)
  set(written "")
  if(EXISTS ${WORK}/job.pal)
    file(READ ${WORK}/job.pal written)
  endif()
  if(NOT got_status STREQUAL 0 OR NOT written STREQUAL big)
    message(FATAL_ERROR "vexapal convert in a background job sent SIGINT: status ${got_status} (expected 0)")
  endif()

  # GIMP loads the GIMP palettes vexapal writes from other programs' swatches (names with markup,
  # Cyrillic and a tab among them) with the name, columns, colours and colour names each file holds.
  if(NOT GIMP)
    message(FATAL_ERROR "GIMP is to read vexapal's palettes: install gimp (gimp-console-2.10)")
  endif()
  set(gimp_home ${WORK}/gimp)
  file(MAKE_DIRECTORY ${gimp_home}/palettes ${gimp_home}/gradients)
  file(WRITE ${WORK}/named.gpl "GIMP Palette\nName: Дом & <b>\nColumns: 3\n255 128 0 Orange \"0\" & <i>\n1 2 3 Дом\tсад\n9 9 9\n")
  expect(0 "" "" convert ${WORK}/named.gpl ${WORK}/named.kpl)
  set(inputs ${WORK}/named.kpl ${SWATCHES}/swatches.ase ${SWATCHES}/v2.aco ${SWATCHES}/palette.kpl
             ${SWATCHES}/palette.aseprite /usr/lib/libreoffice/share/palette/standard.soc)
  set(names "")
  set(expected "")
  foreach(input ${inputs})
    get_filename_component(stem ${input} NAME)
    set(gpl ${gimp_home}/palettes/${stem}.gpl)
    expect(0 "" "" convert ${input} ${gpl})
    # What the file holds, as GIMP is to list it: a colour without a name is "Untitled".
    file(READ ${gpl} text)
    string(REGEX MATCH "\nName: ([^\n]*)" _ "${text}")
    set(name "${CMAKE_MATCH_1}")
    string(REGEX MATCH "\nColumns: ([0-9]+)" _ "${text}")
    set(columns 0)
    if(CMAKE_MATCH_1)
      set(columns ${CMAKE_MATCH_1})
    endif()
    string(APPEND expected "${name}\t${columns}\n")
    string(REGEX MATCHALL "\n *[0-9]+ +[0-9]+ +[0-9]+[^\n]*" entries "${text}")
    foreach(entry ${entries})
      string(REGEX MATCH "^\n *([0-9]+) +([0-9]+) +([0-9]+)\t?(.*)$" _ "${entry}")
      set(colour_name "${CMAKE_MATCH_4}")
      if(colour_name STREQUAL "")
        set(colour_name Untitled)
      endif()
      string(APPEND expected "${CMAKE_MATCH_1} ${CMAKE_MATCH_2} ${CMAKE_MATCH_3}\t${colour_name}\n")
    endforeach()
    string(REPLACE "\\" "\\\\" name "${name}")
    string(REPLACE "\"" "\\\"" name "${name}")
    string(APPEND names " \"${name}\"")
  endforeach()
  set(listing [=[
    (let ((port (open-output-file "OUT")))
      (for-each
        (lambda (palette)
          (let ((count (car (gimp-palette-get-info palette))))
            (display palette port) (display "\t" port)
            (display (car (gimp-palette-get-columns palette)) port) (newline port)
            (let entry ((i 0))
              (if (< i count)
                (let ((colour (car (gimp-palette-entry-get-color palette i))))
                  (display (car colour) port) (display " " port) (display (cadr colour) port) (display " " port)
                  (display (caddr colour) port) (display "\t" port)
                  (display (car (gimp-palette-entry-get-name palette i)) port) (newline port)
                  (entry (+ i 1)))))))
        '(NAMES))
      (close-output-port port))]=])
  string(REPLACE "OUT" "${WORK}/gimp.txt" listing "${listing}")
  string(REPLACE "NAMES" "${names}" listing "${listing}")
  file(REMOVE ${WORK}/gimp.txt)
  # GIMP reads its command line, Cyrillic names and all, in the locale's character set.
  execute_process(COMMAND ${CMAKE_COMMAND} -E env GIMP2_DIRECTORY=${gimp_home} LC_ALL=C.UTF-8 ${GIMP} -i -f -n
                          -b "${listing}" -b "(gimp-quit 0)"
                  RESULT_VARIABLE got_status OUTPUT_VARIABLE got_out ERROR_VARIABLE got_out)
  set(listed "")
  if(EXISTS ${WORK}/gimp.txt)
    file(READ ${WORK}/gimp.txt listed)
  endif()
  if(NOT got_status STREQUAL 0 OR NOT listed STREQUAL expected)
    message(FATAL_ERROR "GIMP read vexapal's palettes as\n${listed}\nexpected\n${expected}\n(GIMP: ${got_out})")
  endif()
endif()
