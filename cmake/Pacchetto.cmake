# What `cmake --install` and the Debian package (cpack, scripts/package) put on a machine:
# the two programs, the model of a new program folder, the demo data, the desktop entry
# and its icon.

# `cmake --install` and cpack install what is built, without building the whole tree
# (tests included) first; scripts/package builds what they need.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# The installed programs: the sources and libraries of quirdal and quirdal-cli, linked with
# SenzaArresti.cpp, so that no stop point of the crash tests ever acts in an installed
# program, whatever QUIRDAL_PUNTI_ARRESTO says for the build folder's programs.
foreach(programma quirdal quirdal-cli)
  get_target_property(sorgenti ${programma} SOURCES)
  get_target_property(cartella ${programma} SOURCE_DIR)
  get_target_property(librerie ${programma} LINK_LIBRARIES)
  set(assoluti "")
  foreach(s IN LISTS sorgenti)
    cmake_path(ABSOLUTE_PATH s BASE_DIRECTORY "${cartella}" OUTPUT_VARIABLE a)
    list(APPEND assoluti "${a}")
  endforeach()
  add_executable(${programma}_installato ${assoluti} ${CMAKE_SOURCE_DIR}/src/common/SenzaArresti.cpp)
  target_link_libraries(${programma}_installato PRIVATE ${librerie})
  # Built under a name of their own, so that "--target quirdal" still means the build
  # folder's program; they take the program's name when installed.
  set_target_properties(${programma}_installato PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/installati)
  install(PROGRAMS $<TARGET_FILE:${programma}_installato> DESTINATION ${CMAKE_INSTALL_BINDIR} RENAME ${programma})
endforeach()

# The empty database of a new program folder, made by the program's own schema.
set(QUIRDAL_BASE_VUOTA ${CMAKE_BINARY_DIR}/base-vuota)
add_custom_command(OUTPUT ${QUIRDAL_BASE_VUOTA}/QUIRDAL.mdb
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${QUIRDAL_BASE_VUOTA}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUIRDAL_BASE_VUOTA}
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/data/QUIRDAL.INI ${QUIRDAL_BASE_VUOTA}/
  COMMAND quirdal-cli_installato --cartella ${QUIRDAL_BASE_VUOTA} imposta-installazione --tipo StandAlone
          --versione SERVER --database ${QUIRDAL_BASE_VUOTA}/QUIRDAL.mdb
  COMMAND quirdal-cli_installato --cartella ${QUIRDAL_BASE_VUOTA} crea-db
  DEPENDS quirdal-cli_installato ${CMAKE_SOURCE_DIR}/data/QUIRDAL.INI
  COMMENT "Base dati vuota per il pacchetto"
  VERBATIM)
add_custom_target(quirdal_base_vuota ALL DEPENDS ${QUIRDAL_BASE_VUOTA}/QUIRDAL.mdb)

# The model of a program folder is data/ as it stands (INI template, help file and
# whatever is added there later) without the demo data, which go beside it; a first start
# copies the model into the user's program folder. The print templates are built into the
# program: a copy in the user's folder would take their place and keep an older form after
# an upgrade, so they stay out of the model.
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/ DESTINATION ${QUIRDAL_CARTELLA_MODELLO}
  PATTERN "operatori" EXCLUDE PATTERN "tabelle" EXCLUDE PATTERN "stampa" EXCLUDE PATTERN "*.md" EXCLUDE)
install(FILES ${QUIRDAL_BASE_VUOTA}/QUIRDAL.mdb DESTINATION ${QUIRDAL_CARTELLA_MODELLO})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/data/tabelle ${CMAKE_SOURCE_DIR}/data/operatori
  DESTINATION ${CMAKE_INSTALL_DATADIR}/quirdal/demo)

install(FILES ${CMAKE_SOURCE_DIR}/pacchetto/quirdal.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/pacchetto/quirdal.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(lato 48 128 256)
  install(FILES ${CMAKE_SOURCE_DIR}/pacchetto/quirdal-${lato}.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${lato}x${lato}/apps RENAME quirdal.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/quirdal)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quirdal)
set(CPACK_PACKAGE_VENDOR "QUIRDAL")
set(CPACK_PACKAGE_CONTACT "Assistenza QUIRDAL <assistenza@vtz.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "proposta di corsi di formazione per il bando regionale FSE")
set(CPACK_PACKAGE_DESCRIPTION "Il programma con cui un ente di formazione prepara, controlla, stampa e invia\n\
la proposta di corsi per il bando regionale del Fondo Sociale Europeo (quirdal),\n\
con lo strumento a riga di comando che usa la stessa logica (quirdal-cli).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so not found among the libraries the programs link.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, qt6-qpa-plugins, fonts-dejavu-core")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
include(CPack)
