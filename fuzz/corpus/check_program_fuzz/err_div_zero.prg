* Division durch Null ueber das Indexregister
LAD 1
DIV X
STP
