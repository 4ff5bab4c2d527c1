// Nothing runs: the program exists so that the linker resolves every call
// of one layer against the layers below it.
int main() { return 0; }
