# Runs the built vexapal program as a user would, natively or under Wine: its version, a conversion,
# a diff of the two files and a missing input, checking exit statuses and what it prints.
# cmake -DVEXAPAL=<program> -DRUNNER=<wine runner, or empty> -DVERSION=<x.y> -DWORK=<folder> -P RunVexapalProgram.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
file(WRITE ${WORK}/two.gpl "GIMP Palette\nName: Two\n255 128 0 orange\n1 2 3\n")
file(WRITE ${WORK}/one.hex "ff8000\n")

function(expect status out err)
  execute_process(COMMAND ${RUNNER} ${VEXAPAL} ${ARGN} RESULT_VARIABLE got_status OUTPUT_VARIABLE got_out
                  ERROR_VARIABLE got_err)
  # A Windows console program ends its lines with CR LF.
  string(REPLACE "\r" "" got_out "${got_out}")
  string(REPLACE "\r" "" got_err "${got_err}")
  if(NOT got_status STREQUAL status OR NOT got_out STREQUAL out OR NOT got_err MATCHES "${err}")
    message(FATAL_ERROR "vexapal ${ARGN}: status ${got_status} (expected ${status})\n"
                        "out: [${got_out}] (expected [${out}])\nerr: [${got_err}] (expected to match [${err}])")
  endif()
endfunction()

expect(0 "vexapal ${VERSION}\n" "^$" --version)
expect(0 "" "^$" convert ${WORK}/two.gpl ${WORK}/two.pal)
expect(0 "" "^$" diff ${WORK}/two.gpl ${WORK}/two.pal)
expect(0 "  0  255 128   0  #FF8000\n  1    1   2   3  #010203\n" "^$" show ${WORK}/two.pal)
expect(1 "  1    1   2   3  #010203  |  -\n" "^$" diff ${WORK}/two.gpl ${WORK}/one.hex)
expect(2 "" "^vexapal: [^\n]*missing.gpl: cannot read it: No such file or directory\n$" show ${WORK}/missing.gpl)
# Names that no ANSI code page spells whole (Cyrillic, then Japanese), in and out.
expect(0 "" "^$" convert ${WORK}/two.gpl ${WORK}/Дом.pal)
expect(0 "" "^$" convert ${WORK}/Дом.pal ${WORK}/日本.hex)
expect(0 "" "^$" diff ${WORK}/two.gpl ${WORK}/日本.hex)
if(NOT EXISTS ${WORK}/Дом.pal OR NOT EXISTS ${WORK}/日本.hex)
  message(FATAL_ERROR "vexapal wrote the files under other names than Дом.pal and 日本.hex")
endif()
