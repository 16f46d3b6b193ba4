# The sound files the modules load, made at build time into two simulator
# folders (no recordings are kept in the repository):
# - root/ (SIM_ROOT): a short tone for each, the sounds the tests fly with;
# - voices/ (VOICE_ROOT, target voice_root): the callouts spoken, for
#   listening to a flight (make demo) and for the package (make dist).
#   espeak-ng says each callout and sox rewrites its WAV as 16-bit mono
#   22050 Hz with exact sizes, since espeak-ng may leave the streaming
#   placeholders (0x7FFFFFFF) in the header, which the stand-in sound library
#   rightly refuses. Without espeak-ng or sox there is no voices/ folder.
#
# One row per file: its name under Sound\, the module that loads it (gpws or
# cabsound; a module's rows in the order of its sound slots), the tone in
# root/ (Hz), what voices/ holds (the words spoken, or "tone" and assetgen's
# wav arguments), and what the package's SOUNDS.txt says of it.
#
# The table is the one list of sound files: from it come the WAV files, the
# modules' paths (generated/frame/sound_files.h, read through
# frame/host_facts.h) and the package's SOUNDS.txt (dist/SOUNDS.txt.in).
set(gauge_sounds
  "zel-sound1  | cabsound | 500  | tone 1 22050 16 8820 440 |"   # cabin sounds: short tones
  "zel-sound2  | cabsound | 600  | tone 1 22050 16 8820 550 |"
  "zel-sound3  | cabsound | 700  | tone 1 22050 16 8820 660 |"
  "zel-sound4  | cabsound | 800  | tone 1 22050 16 8820 770 |"
  # the switch click: 10 ms, 8-bit
  "360tinytog  | gpws | 900  | tone 1 22050 8 220 3000 | switch click of the FLAP INHIBIT and TEST buttons"
  "dontsink    | gpws | 1000 | don't sink      | \"don't sink\""
  "glideslope  | gpws | 1100 | glideslope      | \"glideslope\""
  "minimums    | gpws | 1200 | minimums        | \"minimums\" (decision height reached)"
  "toolowflaps | gpws | 1300 | too low flaps   | \"too low, flaps\""
  "toolowgear  | gpws | 1400 | too low gear    | \"too low, gear\""
  "sinkrate    | gpws | 1500 | sink rate       | \"sink rate\""
  "pullup      | gpws | 1600 | pull up         | \"pull up\""
  "terrain1    | gpws | 1700 | terrain terrain | \"terrain\""
  "terrain2    | gpws | 1800 | terrain terrain | \"terrain, terrain\"")

# The modules' paths and the package's list, written at configure time.
set(sound_paths_gpws)
set(sound_paths_cabsound)
set(sound_list_gpws)
set(sound_list_cabsound)
foreach(row IN LISTS gauge_sounds)
  string(REPLACE "|" ";" row "${row}")
  list(TRANSFORM row STRIP)
  list(GET row 0 name)
  list(GET row 1 module)
  list(GET row 4 what)
  string(APPEND sound_paths_${module} "    \"Sound\\\\${name}.wav\",\n")
  set(line "  Sound\\${name}.wav")
  if(what)
    string(LENGTH "${line}" width)
    math(EXPR pad "26 - ${width}")
    string(REPEAT " " ${pad} spaces)
    string(APPEND line "${spaces}${what}")
  endif()
  string(APPEND sound_list_${module} "${line}\n")
endforeach()
string(REGEX MATCHALL "\n" gpws_rows "${sound_list_gpws}")
list(LENGTH gpws_rows gpws_count)
set(count_words one two three four five six seven eight nine ten eleven twelve)
math(EXPR word_index "${gpws_count} - 1")
list(GET count_words ${word_index} GPWS_SOUND_COUNT)
string(REGEX REPLACE "\n$" "" GPWS_SOUNDS "${sound_list_gpws}")
string(REGEX REPLACE "\n$" "" CABSOUND_SOUNDS "${sound_list_cabsound}")
set(GPWS_SOUND_PATHS "${sound_paths_gpws}")
set(CABSOUND_SOUND_PATHS "${sound_paths_cabsound}")
configure_file(${PROJECT_SOURCE_DIR}/frame/sound_files.h.in
               ${CMAKE_BINARY_DIR}/generated/frame/sound_files.h @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/dist/SOUNDS.txt.in ${CMAKE_BINARY_DIR}/dist/SOUNDS.txt @ONLY)

find_program(ESPEAK_NG_PROGRAM espeak-ng)
find_program(SOX_PROGRAM sox)
set(speak FALSE)
if(ESPEAK_NG_PROGRAM AND SOX_PROGRAM)
  set(speak TRUE)
else()
  message(STATUS "espeak-ng or sox not found: no spoken voices (voices/), "
                 "flights use the tones in root/ and make dist packs no Sound folder")
endif()

set(SIM_ROOT ${CMAKE_BINARY_DIR}/root)
set(VOICE_ROOT ${CMAKE_BINARY_DIR}/voices)
set(voice_raw_dir ${CMAKE_CURRENT_BINARY_DIR}/voices_raw)
set(sim_sounds)
set(voice_files)
foreach(row IN LISTS gauge_sounds)
  string(REPLACE "|" ";" row "${row}")
  list(TRANSFORM row STRIP)
  list(GET row 0 name)
  list(GET row 2 tone)
  list(GET row 3 voice)
  gauge_asset(OUTPUT ${SIM_ROOT}/Sound/${name}.wav KIND wav ARGS 1 22050 16 8820 ${tone})
  list(APPEND sim_sounds ${SIM_ROOT}/Sound/${name}.wav)
  if(NOT speak)
    continue()
  endif()
  set(out ${VOICE_ROOT}/Sound/${name}.wav)
  if(voice MATCHES "^tone ")
    string(REPLACE " " ";" args "${voice}")
    list(REMOVE_AT args 0)
    gauge_asset(OUTPUT ${out} KIND wav ARGS ${args})
  else()
    set(raw ${voice_raw_dir}/${name}.wav)
    # Written beside the target and renamed, so an interrupted build never
    # leaves a half file that looks up to date.
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${voice_raw_dir} ${VOICE_ROOT}/Sound
      COMMAND ${ESPEAK_NG_PROGRAM} -w ${raw} ${voice}
      COMMAND ${SOX_PROGRAM} --ignore-length ${raw} -t wav -r 22050 -c 1 -b 16 -e signed-integer
              ${out}.tmp
      COMMAND ${CMAKE_COMMAND} -E rename ${out}.tmp ${out}
      COMMENT "Speaking ${name}.wav: \"${voice}\""
      VERBATIM)
  endif()
  list(APPEND voice_files ${out})
endforeach()

add_custom_target(sim_root ALL DEPENDS ${sim_sounds})
if(speak)
  add_custom_target(voice_root ALL DEPENDS ${voice_files})
endif()
