#include "huewright/ui/mainwindow.h"

int main(int argc, char** argv) {
    return shell::runprogram(huewright::programdesc(), argc, argv);
}
