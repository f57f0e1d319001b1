// Half of a two-library cycle: the link graph check must refuse it.
int CycleB(int n);
int CycleA(int n) { return n > 0 ? CycleB(n - 1) : 0; }
