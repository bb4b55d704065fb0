#include "mainwindow.h"

int main(int argc, char** argv) {
    return shell::runprogram(curvetoy::programdesc(), argc, argv);
}
