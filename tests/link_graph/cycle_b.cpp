// The other half of the two-library cycle, plus a library that only uses it.
int CycleA(int n);
int CycleB(int n) { return n > 0 ? CycleA(n - 1) : 1; }
