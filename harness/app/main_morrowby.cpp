#include "app.h"

int main(int argc, char **argv)
{
    return harness::runHarness(argc, argv, harness::morrowby());
}
