#include "host/qvglfwgame.h"

int main(int argc, char** argv) {
    QvTarvikGame::Main(argc, argv);
    return 0;
}
