#include "TrellinApp.h"

int main(int argc, char** argv) {
    return TrellinApp::run(argc, argv);
}
