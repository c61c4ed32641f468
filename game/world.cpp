// The game world and level set-up. Still to be built: the records' clearing
// and the levels; until then starting a game only enters the game mode.
#include "shell/myapp.h"

int MyApp::LoadGame() {
    mode = 10;
    return 0;
}

int MyApp::FlushGame() { return 0; }

int MyApp::ResetObj() { return 0; }

int MyApp::ResetGrid() { return 0; }

int MyApp::ResetPlayers() { return 0; }

int MyApp::ResetStars(int) { return 0; }

int MyApp::ResetParticles(int) { return 0; }

int MyApp::Refill() { return 0; }
