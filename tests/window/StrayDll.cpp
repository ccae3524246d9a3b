// A DLL that lies beside the window tests, as a stray one might lie beside
// the program in a download folder.
extern "C" __declspec(dllexport) int KelbrinStray() { return 1; }
