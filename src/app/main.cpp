#include "app/main_app.h"

int main(int argc, char** argv) { return qm::MainApp().Run(argc, argv); }
