let quarnex = "sample";
