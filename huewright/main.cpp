#include "mainwindow.h"

int main() {
    return shell::runprogram(huewright::programdesc());
}
