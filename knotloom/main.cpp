#include "mainwindow.h"

int main() {
    return shell::runprogram(knotloom::programdesc());
}
