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
# One row per file: its name under Sound\, the tone in root/ (Hz), and what
# voices/ holds: the words spoken, or "tone" and assetgen's wav arguments.
set(gauge_sounds
  "zel-sound1  | 500  | tone 1 22050 16 8820 440"   # cabin sounds: short tones
  "zel-sound2  | 600  | tone 1 22050 16 8820 550"
  "zel-sound3  | 700  | tone 1 22050 16 8820 660"
  "zel-sound4  | 800  | tone 1 22050 16 8820 770"
  "360tinytog  | 900  | tone 1 22050 8 220 3000"     # the switch click: 10 ms, 8-bit
  "dontsink    | 1000 | don't sink"
  "glideslope  | 1100 | glideslope"
  "minimums    | 1200 | minimums"
  "toolowflaps | 1300 | too low flaps"
  "toolowgear  | 1400 | too low gear"
  "sinkrate    | 1500 | sink rate"
  "pullup      | 1600 | pull up"
  "terrain1    | 1700 | terrain terrain"
  "terrain2    | 1800 | terrain terrain")

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
  list(GET row 1 tone)
  list(GET row 2 voice)
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
