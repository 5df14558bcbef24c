# What `cmake --install <build> --prefix P` puts where (GNU layout):
#   P/bin/                         every program, side by side, so that the
#                                  helpers find motifbind beside them
#   P/share/man/man1/              a page per program, made from its --help
#                                  (when help2man is installed)
#   P/share/doc/motifbind/         README.md, LICENSE, CHANGELOG.md, CITATION.cff
#   P/share/motifbind/workflow/    the Snakemake workflow and the SLURM scripts
#                                  (with the helpers: MOTIFBIND_TOOLS on)
include(GNUInstallDirs)

# Short descriptions for the NAME section of each man page; a program this
# build does not define is left out.
set(motifbind_program_names
  "motifbind|learn which motif pairs explain protein-protein interactions"
  "motifbind-sim|sample complete motifbind input sets from the model"
  "motifbind-prep|turn interaction lists, domain annotations and sequences into a motifbind input set"
  "motifbind-eval|judge a motifbind run against the truth planted or held out"
  "motifbind-report|write named tables and a self-contained HTML report of a motifbind run"
  "motifbind-merge|join the shards of a motifbind -j run into the outputs of one run"
  "motifbind-bench|time motifbind executables phase by phase")
set(MOTIFBIND_PROGRAMS "")
foreach(entry ${motifbind_program_names})
  string(REPLACE "|" ";" entry "${entry}")
  list(GET entry 0 program)
  list(GET entry 1 description)
  if(TARGET ${program})
    list(APPEND MOTIFBIND_PROGRAMS ${program})
    set(motifbind_description_${program} "${description}")
  endif()
endforeach()

install(TARGETS ${MOTIFBIND_PROGRAMS} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Man pages from --help, made at build time. The version comes from the
# build rather than from each program's --version, and standard error is read
# as well as standard output, so a usage text printed there makes a page too.
# A build of motifbind alone (MOTIFBIND_TOOLS off) makes none and does not
# look for help2man.
if(MOTIFBIND_TOOLS)
  find_program(HELP2MAN_EXECUTABLE help2man)
endif()
if(MOTIFBIND_TOOLS AND HELP2MAN_EXECUTABLE)
  set(MOTIFBIND_MAN_PAGES man)
  set(man_dir ${PROJECT_BINARY_DIR}/man/man1)
  file(MAKE_DIRECTORY ${man_dir})
  set(man_pages "")
  foreach(program ${MOTIFBIND_PROGRAMS})
    add_custom_command(
      OUTPUT ${man_dir}/${program}.1
      COMMAND ${HELP2MAN_EXECUTABLE} --no-info --no-discard-stderr
              --version-string=${PROJECT_VERSION} --name=${motifbind_description_${program}}
              --output=${man_dir}/${program}.1 $<TARGET_FILE:${program}>
      DEPENDS ${program}
      COMMENT "Man page of ${program}"
      VERBATIM)
    list(APPEND man_pages ${man_dir}/${program}.1)
  endforeach()
  add_custom_target(man_pages ALL DEPENDS ${man_pages})
  install(FILES ${man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
else()
  set(MOTIFBIND_MAN_PAGES no-man)
  if(MOTIFBIND_TOOLS)
    message(STATUS "help2man not found: no man pages")
  endif()
endif()

install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/CHANGELOG.md
              ${PROJECT_SOURCE_DIR}/CITATION.cff DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The workflow runs the helpers: installed with them.
if(MOTIFBIND_TOOLS)
  install(DIRECTORY ${PROJECT_SOURCE_DIR}/workflow/ DESTINATION ${CMAKE_INSTALL_DATADIR}/motifbind/workflow
          USE_SOURCE_PERMISSIONS
          PATTERN CMakeLists.txt EXCLUDE
          PATTERN tests EXCLUDE)
endif()
