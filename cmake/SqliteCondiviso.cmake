# One SQLite in the process. The direct road of db/IstruzionePreparata drives the handle of
# Qt's SQLite driver with this program's own SQLite functions: sound only when both are the
# same library, loaded once. This proves it when the build is configured: Qt's SQLite plugin
# must depend on the very file the program links (as on Debian, where libqsqlite.so needs the
# system's libsqlite3.so.0). Anywhere else (a plugin with SQLite built in, as Qt's own Windows
# builds carry it; a static SQLite; no plugin found) the program takes the portable road over
# QSqlQuery and links no SQLite of its own.
#
# Sets QUIRDAL_SQLITE_CONDIVISO (ON/OFF). SQLite::SQLite3, where found, is left for the
# benchmark's raw baseline.
option(QUIRDAL_SQLITE_DIRETTA "Drive Qt's SQLite handle directly where the build proves it is the same SQLite" ON)
set(QUIRDAL_SQLITE_CONDIVISO OFF)
set(_perche "")
find_package(SQLite3)
if(NOT QUIRDAL_SQLITE_DIRETTA)
  set(_perche "turned off (QUIRDAL_SQLITE_DIRETTA=OFF)")
elseif(NOT SQLite3_FOUND)
  set(_perche "no SQLite library of the program's own")
else()
  if(NOT TARGET Qt6::QSQLiteDriverPlugin)
    # Some distributions ship the plugin's package without the list that loads it with Qt6Sql.
    find_package(Qt6QSQLiteDriverPlugin CONFIG QUIET HINTS "${Qt6Sql_DIR}")
  endif()
  set(_plugin "")
  if(TARGET Qt6::QSQLiteDriverPlugin)
    get_target_property(_tipo Qt6::QSQLiteDriverPlugin TYPE)
    if(_tipo STREQUAL "MODULE_LIBRARY" OR _tipo STREQUAL "SHARED_LIBRARY")
      get_target_property(_plugin Qt6::QSQLiteDriverPlugin LOCATION)
    endif()
  endif()
  if(NOT _plugin OR NOT EXISTS "${_plugin}")
    set(_perche "Qt's SQLite plugin not found as a shared library")
  else()
    # The files the program's SQLite is at run time: the library itself, or for an import
    # library the DLL beside it.
    list(GET SQLite3_LIBRARIES 0 _nostra)
    get_filename_component(_cartella "${_nostra}" DIRECTORY)
    get_filename_component(_nome "${_nostra}" NAME_WE)
    set(_nostre "")
    foreach(f "${_nostra}" "${_cartella}/${_nome}.dll" "${_cartella}/../bin/${_nome}.dll")
      if(EXISTS "${f}" AND NOT f MATCHES "\\.(a|lib)$")
        file(REAL_PATH "${f}" _reale)
        list(APPEND _nostre "${_reale}")
      endif()
    endforeach()
    set(_uscita "${CMAKE_BINARY_DIR}/dipendenze-qsqlite.txt")
    file(REMOVE "${_uscita}")
    execute_process(
      COMMAND "${CMAKE_COMMAND}" "-DFILE=${_plugin}" "-DUSCITA=${_uscita}"
              "-DCARTELLE=${_cartella};${_cartella}/../bin"
              "-DCMAKE_CXX_COMPILER_ID=${CMAKE_CXX_COMPILER_ID}" "-DCMAKE_OBJDUMP=${CMAKE_OBJDUMP}"
              -P "${CMAKE_CURRENT_LIST_DIR}/DipendenzeDinamiche.cmake"
      RESULT_VARIABLE _esito OUTPUT_QUIET ERROR_QUIET)
    set(_dipendenze "")
    if(_esito EQUAL 0 AND EXISTS "${_uscita}")
      file(STRINGS "${_uscita}" _dipendenze)
    endif()
    foreach(d IN LISTS _dipendenze)
      file(REAL_PATH "${d}" _reale)
      foreach(n IN LISTS _nostre)
        string(TOLOWER "${_reale}" _a)
        string(TOLOWER "${n}" _b)
        if((WIN32 AND _a STREQUAL _b) OR (_reale STREQUAL n))
          set(QUIRDAL_SQLITE_CONDIVISO ON)
        endif()
      endforeach()
    endforeach()
    if(NOT QUIRDAL_SQLITE_CONDIVISO)
      set(_perche "${_plugin} does not load ${_nostra}")
    endif()
  endif()
endif()
if(QUIRDAL_SQLITE_CONDIVISO)
  message(STATUS "SQLite: Qt's driver and the program share ${_nostra}: direct road compiled in")
else()
  message(STATUS "SQLite: portable road only (${_perche})")
endif()
