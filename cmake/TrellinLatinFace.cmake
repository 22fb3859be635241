# trellin_latin_face(<target>)
#
# Builds "Trellin Rounded", the interface's rounded Latin face: Comfortaa (fonts-comfortaa) without
# its Cyrillic, whose lower case reads as italic Latin, so that Cyrillic text falls through to the
# upright face next in the interface's family list. The faces are compiled into <target>'s
# resources under :/fonts/.
#
# The subsetter is fontTools (python3-fonttools) under the system's Python: a Python of a user's
# own (pyenv, a virtual environment) first on PATH would not have the distribution's modules.
set(TRELLIN_FONT_PYTHON "/usr/bin/python3" CACHE FILEPATH "Python with fontTools, for the interface's Latin face")
set(TRELLIN_COMFORTAA_DIR "/usr/share/fonts/truetype/comfortaa" CACHE PATH "Where Comfortaa-Regular.ttf and Comfortaa-Bold.ttf are")

function(trellin_latin_face target)
  execute_process(COMMAND "${TRELLIN_FONT_PYTHON}" -c "import fontTools.subset"
    RESULT_VARIABLE missing OUTPUT_QUIET ERROR_QUIET)
  if(missing)
    message(FATAL_ERROR "${TRELLIN_FONT_PYTHON} cannot import fontTools: install python3-fonttools (scripts/install-deps)")
  endif()
  set(script "${PROJECT_SOURCE_DIR}/tools/latin-face/latin-face.py")
  set(out_dir "${CMAKE_CURRENT_BINARY_DIR}/fonts")
  # Comfortaa's bold is made the copy's semibold: the text engine draws the letters a face lacks in
  # the next family's face of the same style, and the Cyrillic face's semibold is the one that looks
  # as heavy as this bold (its bold, beside it, looks heavier).
  set(faces "")
  foreach(pair "Regular;Regular;400" "Bold;SemiBold;600")
    list(GET pair 0 source_style)
    list(GET pair 1 style)
    list(GET pair 2 weight)
    set(source "${TRELLIN_COMFORTAA_DIR}/Comfortaa-${source_style}.ttf")
    if(NOT EXISTS "${source}")
      message(FATAL_ERROR "${source} is missing: install fonts-comfortaa (scripts/install-deps)")
    endif()
    set(face "${out_dir}/TrellinRounded-${style}.ttf")
    add_custom_command(OUTPUT "${face}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${out_dir}"
      COMMAND "${TRELLIN_FONT_PYTHON}" "${script}" "${source}" "${face}" "Trellin Rounded" ${style} ${weight}
      DEPENDS "${script}" "${source}"
      COMMENT "Making the interface's Latin face (${style})"
      VERBATIM)
    list(APPEND faces "${face}")
  endforeach()
  # Stored as they are, so that the faces are read in place rather than unpacked in every process.
  qt_add_resources(${target} trellin_latin_face PREFIX /fonts BASE "${out_dir}" FILES ${faces} OPTIONS --no-compress)
endfunction()
