#include "app/connexions.h"

int main(int argc, char** argv) {
    return lumi::executar(argc, argv);
}
