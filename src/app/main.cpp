#include "app/Startup.h"

int main(int argc, char** argv) {
    return qinglan::app::runPlayer(argc, argv);
}
