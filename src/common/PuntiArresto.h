#pragma once
// A test build can stop the process dead at a named point, as a crash or a power cut
// would, to prove that a stop there loses nothing: the environment variable
// QUIRDAL_ARRESTO names the point ("sostituzione") and optionally how many times it is
// passed first ("record:1500" stops on the 1500th pass). Without QUIRDAL_PUNTI_ARRESTO at
// build time the call does nothing.
//
// The installed programs link SenzaArresti.cpp, whose empty definition the linker takes
// in place of the library's, so a package never stops on request whatever the build.
namespace quirdal {

void puntoDiArresto(const char *nome);

} // namespace quirdal
