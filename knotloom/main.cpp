#include "mainwindow.h"

int main(int argc, char** argv) {
    return shell::runprogram(knotloom::programdesc(), argc, argv);
}
