#include "cli/cli.h"

int main(int argc, char** argv) { return kelmar::RunCli(argc, argv); }
