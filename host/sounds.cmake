# A second simulator folder whose callouts are spoken, for listening to a
# flight (make demo): espeak-ng says each callout and sox rewrites its WAV
# as 16-bit mono 22050 Hz with exact sizes, since espeak-ng may leave the
# streaming placeholders (0x7FFFFFFF) in the header, which the stand-in sound
# library rightly refuses. The tests keep the generated tones in root/.
find_program(ESPEAK_NG_PROGRAM espeak-ng)
find_program(SOX_PROGRAM sox)
if(NOT ESPEAK_NG_PROGRAM OR NOT SOX_PROGRAM)
  message(STATUS "espeak-ng or sox not found: no spoken voices, flights use the tones in root/")
  return()
endif()

set(VOICE_ROOT ${CMAKE_BINARY_DIR}/voices)
set(voice_raw_dir ${CMAKE_CURRENT_BINARY_DIR}/voices_raw)
set(voice_files)
foreach(entry "minimums|minimums" "pullup|pull up" "terrain1|terrain terrain"
              "terrain2|terrain terrain" "sinkrate|sink rate" "glideslope|glideslope"
              "toolowflaps|too low flaps" "toolowgear|too low gear" "dontsink|don't sink")
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 name)
  list(GET entry 1 words)
  set(raw ${voice_raw_dir}/${name}.wav)
  set(out ${VOICE_ROOT}/Sound/${name}.wav)
  # Written beside the target and renamed, so an interrupted build never
  # leaves a half file that looks up to date.
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${voice_raw_dir} ${VOICE_ROOT}/Sound
    COMMAND ${ESPEAK_NG_PROGRAM} -w ${raw} ${words}
    COMMAND ${SOX_PROGRAM} --ignore-length ${raw} -t wav -r 22050 -c 1 -b 16 -e signed-integer
            ${out}.tmp
    COMMAND ${CMAKE_COMMAND} -E rename ${out}.tmp ${out}
    COMMENT "Speaking ${name}.wav: \"${words}\""
    VERBATIM)
  list(APPEND voice_files ${out})
endforeach()

# The switch click: 10 ms of a 3 kHz tone, 8-bit as old panels had them.
gauge_asset(OUTPUT ${VOICE_ROOT}/Sound/360tinytog.wav KIND wav ARGS 1 22050 8 220 3000)
list(APPEND voice_files ${VOICE_ROOT}/Sound/360tinytog.wav)
# The cabin sounds stay short tones.
set(tone 440)
foreach(name zel-sound1 zel-sound2 zel-sound3 zel-sound4)
  gauge_asset(OUTPUT ${VOICE_ROOT}/Sound/${name}.wav KIND wav ARGS 1 22050 16 8820 ${tone})
  math(EXPR tone "${tone} + 110")
  list(APPEND voice_files ${VOICE_ROOT}/Sound/${name}.wav)
endforeach()
add_custom_target(voice_root ALL DEPENDS ${voice_files})
