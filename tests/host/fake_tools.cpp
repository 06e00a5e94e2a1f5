// A stand-in for libTools.so with one of the four exports, counting its calls.
namespace {
int addressCalls = 0;
}

extern "C" {
void AdrExecute() { ++addressCalls; }
int AdrExecuteCalls() { return addressCalls; }
}
