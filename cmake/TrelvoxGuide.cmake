# The user's guide that the packages ship: one HTML page made from README.md by cmark-gfm, with
# the screenshots it shows (packaging/guide/make_guide.py), in ${TRELVOX_GUIDE_DIR}.
find_program(TRELVOX_PYTHON python3)
find_program(TRELVOX_CMARK_GFM cmark-gfm)
if(NOT TRELVOX_PYTHON OR NOT TRELVOX_CMARK_GFM)
  message(FATAL_ERROR "The guide is made with python3 and cmark-gfm: scripts/install-deps.sh "
                      "installs them (apt-get install python3 cmark-gfm)")
endif()

set(TRELVOX_GUIDE_DIR ${PROJECT_BINARY_DIR}/guide)
file(GLOB screenshots CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/screenshots/*.png)
add_custom_command(
  OUTPUT ${TRELVOX_GUIDE_DIR}/guide.html
  COMMAND ${TRELVOX_PYTHON} ${PROJECT_SOURCE_DIR}/packaging/guide/make_guide.py
          --readme ${PROJECT_SOURCE_DIR}/README.md --cmark ${TRELVOX_CMARK_GFM}
          --out ${TRELVOX_GUIDE_DIR}
  DEPENDS ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/packaging/guide/make_guide.py
          ${screenshots}
  COMMENT "Making the guide (guide.html) from README.md" VERBATIM)
add_custom_target(trelvox_guide ALL DEPENDS ${TRELVOX_GUIDE_DIR}/guide.html)
