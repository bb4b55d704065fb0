#include "mainwindow.h"

int main() {
    return shell::runprogram(curvetoy::programdesc());
}
