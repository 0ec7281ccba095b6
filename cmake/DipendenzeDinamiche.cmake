# The shared libraries a library loads, resolved to files, one a line into USCITA.
# Run as: cmake -DFILE=<library> -DUSCITA=<list> [-DCARTELLE=<folders to search>] -P DipendenzeDinamiche.cmake
# (file(GET_RUNTIME_DEPENDENCIES) belongs to script mode, not to a project's configure step.)
cmake_minimum_required(VERSION 3.22)
file(GET_RUNTIME_DEPENDENCIES LIBRARIES "${FILE}" DIRECTORIES ${CARTELLE}
  RESOLVED_DEPENDENCIES_VAR risolte UNRESOLVED_DEPENDENCIES_VAR irrisolte)
list(JOIN risolte "\n" testo)
file(WRITE "${USCITA}" "${testo}\n")
