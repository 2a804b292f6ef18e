#include "application.h"

int main(int argc, char** argv)
{
    return tarnel::runTarnel(argc, argv);
}
