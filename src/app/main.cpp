#include "app/Application.h"

int main(int argc, char** argv) { return vantrel::app::RunApplication(argc, argv); }
