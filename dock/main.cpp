#include "DockApp.h"

int main(int argc, char** argv) {
    return DockApp::run(argc, argv);
}
